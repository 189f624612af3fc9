// Drawing objects: stock objects and system colours, selection and its old objects,
// deletion while selected, palettes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "GdiTestSupport.h"
#include "platform/gdi/ColorRef.h"
#include "platform/gdi/StockObjects.h"

namespace {

TEST(StockObjects, ClassicSystemColours) {
    const std::pair<int, COLORREF> expected[] = {
        {COLOR_BTNFACE, 0xC0C0C0},    {COLOR_BTNSHADOW, 0x808080},      {COLOR_BTNTEXT, 0},
        {COLOR_WINDOWTEXT, 0},        {COLOR_WINDOW, 0xFFFFFF},         {COLOR_HIGHLIGHT, RGB(0, 0, 128)},
        {COLOR_HIGHLIGHTTEXT, 0xFFFFFF}, {COLOR_BTNHIGHLIGHT, 0xFFFFFF}, {COLOR_3DDKSHADOW, 0},
        {COLOR_GRAYTEXT, 0x808080},
    };
    for (auto [index, colour] : expected) EXPECT_EQ(GetSysColor(index), colour) << index;
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(kSystemColorCount), 0u);
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE)->Color(), 0xC0C0C0u);
}

TEST(StockObjects, DefaultGuiFontIsAnEightPointSansDescription) {
    LOGFONT f{};
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof f, &f), static_cast<int>(sizeof f));
    EXPECT_EQ(f.lfHeight, -11);
    EXPECT_EQ(f.lfWeight, FW_NORMAL);
    EXPECT_EQ(f.lfItalic, 0);
    EXPECT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof f - 1, &f), 0);
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(18), nullptr);
    // A font made from the stock description belongs to its maker.
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&f));
    EXPECT_NE(font.GetSafeHandle(), GetStockObject(DEFAULT_GUI_FONT));
}

TEST(StockObjects, SurviveDeleteObject) {
    HGDIOBJ pen = GetStockObject(BLACK_PEN);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetStockObject(BLACK_PEN), pen);
    EXPECT_EQ(static_cast<GdiPen*>(pen)->Color(), 0u);
}

TEST(Selection, ReturnsTheReplacedObjectAndRefusesToDeleteASelectedOne) {
    MemoryDC m(2, 2);
    CPen red(PS_SOLID, 1, 0x0000FF);
    CPen* old = m.dc().SelectObject(&red);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetSafeHandle(), GetStockObject(BLACK_PEN));
    EXPECT_FALSE(red.DeleteObject());       // still selected
    EXPECT_FALSE(DeleteObject(red.GetHandle()));
    EXPECT_EQ(m.dc().SelectObject(old), &red);
    EXPECT_TRUE(red.DeleteObject());
    EXPECT_EQ(red.GetSafeHandle(), nullptr);
    // Stock selections come back as wrappers that restore the old object.
    CGdiObject* oldBrush = m.dc().SelectStockObject(NULL_BRUSH);
    ASSERT_NE(oldBrush, nullptr);
    EXPECT_EQ(oldBrush->GetSafeHandle(), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(m.dc().SelectObject(oldBrush)->GetSafeHandle(), GetStockObject(NULL_BRUSH));
    m.dc().FillRect(CRect(0, 0, 1, 1), GetSysColorBrush(COLOR_BTNSHADOW));
    EXPECT_EQ(m.At(0, 0), 0x808080u);
}

TEST(Selection, AWrapperEndingWhileSelectedLeavesItsObjectToTheContext) {
    MemoryDC m(3, 1);
    {
        auto pen = std::make_unique<CPen>(PS_SOLID, 1, 0x0000FF);
        m.dc().SelectObject(pen.get());
    }  // the pen's wrapper is gone; the context still draws with it
    m.dc().MoveTo(0, 0);
    m.dc().LineTo(3, 0);
    EXPECT_EQ(m.At(2, 0), 0x0000FFu);
    // Replacing it ends it: there is no old pen to give back.
    EXPECT_EQ(m.dc().SelectStockObject(BLACK_PEN), nullptr);
}

TEST(Selection, ABitmapLivesInOneMemoryContextAtATime) {
    MemoryDC first(2, 2);
    CDC second;
    second.CreateCompatibleDC(nullptr);
    CBitmap* held = first.dc().GetCurrentBitmap();
    EXPECT_EQ(second.SelectObject(held), nullptr);
    BITMAP info{};
    ASSERT_TRUE(held->GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 2);
    EXPECT_EQ(info.bmBitsPixel, 32);
}

TEST(Selection, AttachAndFromHandleShareOneWrapper) {
    CBrush brush;
    HBRUSH handle = CreateSolidBrush(0x123456);
    ASSERT_TRUE(brush.Attach(handle));
    HBRUSH other = CreateSolidBrush(0);
    EXPECT_FALSE(brush.Attach(other));  // one handle per wrapper
    EXPECT_TRUE(DeleteObject(other));
    EXPECT_EQ(CBrush::FromHandle(handle), &brush);
    EXPECT_EQ(brush.Detach(), handle);
    CBrush* borrowed = CBrush::FromHandle(handle);
    EXPECT_NE(borrowed, &brush);
    EXPECT_EQ(borrowed->GetHandle(), handle);
    EXPECT_TRUE(DeleteObject(handle));  // ends the borrowing wrapper with it
}

std::vector<BYTE> PaletteBlock(WORD version, const std::vector<COLORREF>& colors) {
    std::vector<BYTE> block(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* p = reinterpret_cast<LOGPALETTE*>(block.data());
    p->palVersion = version;
    p->palNumEntries = static_cast<WORD>(colors.size());
    for (size_t i = 0; i < colors.size(); ++i)
        p->palPalEntry[i] = {GetRValue(colors[i]), GetGValue(colors[i]), GetBValue(colors[i]), 0};
    return block;
}

TEST(Palettes, LogicalPaletteSelectRealizeAndNearestColour) {
    auto block = PaletteBlock(kPaletteVersion, {0x000000, 0x0000FF, 0xFFFFFF});
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(reinterpret_cast<LOGPALETTE*>(block.data())));
    EXPECT_EQ(palette.GetEntryCount(), 3);
    EXPECT_EQ(GetNearestPaletteIndex(palette, 0x0000F0), 1u);
    EXPECT_EQ(GetNearestPaletteIndex(palette, 0xEEEEEE), 2u);
    MemoryDC m(1, 1);
    CPalette* old = m.dc().SelectPalette(&palette, TRUE);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(m.dc().RealizePalette(), 3u);
    m.dc().SelectPalette(old, FALSE);

    auto wrongVersion = PaletteBlock(0x200, {0});
    EXPECT_EQ(CreatePalette(reinterpret_cast<LOGPALETTE*>(wrongVersion.data())), nullptr);
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
}

TEST(Palettes, HalftonePaletteHasTheStaticColoursAndAColourCube) {
    CPalette halftone;
    ASSERT_TRUE(halftone.CreateHalftonePalette(nullptr));
    ASSERT_EQ(halftone.GetEntryCount(), 256);
    std::vector<PALETTEENTRY> entries(256);
    EXPECT_EQ(halftone.GetPaletteEntries(0, 256, entries.data()), 256u);
    auto has = [&](COLORREF c) {
        return GetNearestPaletteIndex(halftone, c) < 256 &&
               std::memcmp(&entries[GetNearestPaletteIndex(halftone, c)], std::array<BYTE, 3>{GetRValue(c), GetGValue(c), GetBValue(c)}.data(), 3) == 0;
    };
    for (COLORREF c : {0x000000u, 0xFFFFFFu, 0x0000FFu, 0xFF00FFu, 0x336699u, 0xC0C0C0u, 0x808080u}) EXPECT_TRUE(has(c)) << std::hex << c;
}

}  // namespace
