#include "platform/gdi/StockObjects.h"

#include <array>
#include <cstring>

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/ColorRef.h"

namespace {

constexpr std::array<COLORREF, kSystemColorCount> kClassicColors = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3-D dark shadow
    RGB(192, 192, 192),  // 3-D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
};

LOGFONT Font(const char* face, LONG height, BYTE pitch) {
    LOGFONT f{};
    f.lfHeight = height;
    f.lfWeight = FW_NORMAL;
    f.lfCharSet = DEFAULT_CHARSET;
    f.lfPitchAndFamily = pitch;
    std::strncpy(f.lfFaceName, face, LF_FACESIZE - 1);
    return f;
}

HGDIOBJ MakeStock(int index) {
    switch (index) {
        case WHITE_BRUSH: return new GdiBrush(RGB(255, 255, 255));
        case LTGRAY_BRUSH: return new GdiBrush(RGB(192, 192, 192));
        case GRAY_BRUSH: return new GdiBrush(RGB(128, 128, 128));
        case DKGRAY_BRUSH: return new GdiBrush(RGB(64, 64, 64));
        case BLACK_BRUSH: return new GdiBrush(RGB(0, 0, 0));
        case NULL_BRUSH: return new GdiBrush(0, true);
        case WHITE_PEN: return new GdiPen(PS_SOLID, 1, RGB(255, 255, 255));
        case BLACK_PEN: return new GdiPen(PS_SOLID, 1, RGB(0, 0, 0));
        case NULL_PEN: return new GdiPen(PS_NULL, 1, 0);
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case SYSTEM_FIXED_FONT: return new GdiFont(Font("", -13, FIXED_PITCH));
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT: return new GdiFont(Font("", -13, 0));
        case DEFAULT_PALETTE: {
            HPALETTE halftone = CreateHalftonePalette(nullptr);
            // The default palette holds the twenty static colours only.
            std::vector<PALETTEENTRY> entries(halftone->Entries().begin(), halftone->Entries().begin() + 10);
            entries.insert(entries.end(), halftone->Entries().end() - 10, halftone->Entries().end());
            DeleteObject(halftone);
            return new GdiPalette(std::move(entries));
        }
        case DEFAULT_GUI_FONT: return new GdiFont(Font("", kDefaultGuiFontHeight, 0));
        default: return nullptr;
    }
}

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

}  // namespace

HGDIOBJ GetStockObject(int index) {
    static const std::array<HGDIOBJ, kStockCount> stock = [] {
        std::array<HGDIOBJ, kStockCount> objects{};
        for (int i = 0; i < kStockCount; ++i)
            if ((objects[static_cast<size_t>(i)] = MakeStock(i))) objects[static_cast<size_t>(i)]->MarkStock();
        return objects;
    }();
    return index >= 0 && index < kStockCount ? stock[static_cast<size_t>(index)] : nullptr;
}

COLORREF GetSysColor(int index) {
    return index >= 0 && index < kSystemColorCount ? kClassicColors[static_cast<size_t>(index)] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    static const std::array<HBRUSH, kSystemColorCount> brushes = [] {
        std::array<HBRUSH, kSystemColorCount> objects{};
        for (size_t i = 0; i < objects.size(); ++i) {
            objects[i] = new GdiBrush(kClassicColors[i]);
            objects[i]->MarkStock();
        }
        return objects;
    }();
    return index >= 0 && index < kSystemColorCount ? brushes[static_cast<size_t>(index)] : nullptr;
}
