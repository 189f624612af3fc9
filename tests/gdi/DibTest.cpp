// DIB sections, device bitmaps made from DIB bits, DIB bits read back, DIB bits stretched
// onto a context, and the headers that are refused.
#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"
#include "platform/gdi/DibFunctions.h"
#include "platform/gdi/DibLayout.h"
#include "platform/gdi/RasterOp.h"

namespace {

constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// A 3 x 2 image, 8 bits per pixel, bottom-up: top row red green blue, bottom row white red red.
struct Indexed {
    std::vector<BYTE> info = InfoBlock(3, 2, 8, BI_RGB, {kRed, kGreen, kBlue, kWhite});
    std::vector<BYTE> bits = {3, 0, 0, 0, /* bottom row */ 0, 1, 2, 0 /* top row */};
};

TEST(DibSection, BitsAreTheImageAndDrawingReachesThem) {
    auto info = InfoBlock(3, 2, 24, BI_RGB, {});
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, Info(info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    BITMAP b{};
    GetObjectA(section, sizeof b, &b);
    EXPECT_EQ(b.bmWidthBytes, 12);  // 9 bytes padded to 12
    EXPECT_EQ(b.bmBits, bits);
    auto* bytes = static_cast<BYTE*>(bits);
    bytes[12] = 0xFF;  // top-left pixel (second stored row), blue byte
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        HGDIOBJ old = dc.SelectObject(section);
        EXPECT_EQ(dc.GetPixel(0, 0), kBlue);
        dc.FillSolidRect(2, 1, 1, 1, kRed);  // bottom-right pixel
        EXPECT_EQ(bytes[6 + 2], 0xFF);
        EXPECT_EQ(bytes[6], 0);
        dc.SelectObject(old);
    }
    EXPECT_TRUE(DeleteObject(section));
}

TEST(DibSection, RefusesWhatItCannotHold) {
    Indexed image;
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, Info(image.info), DIB_PAL_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    int mapping = 0;
    EXPECT_EQ(CreateDIBSection(nullptr, Info(image.info), DIB_RGB_COLORS, &bits, &mapping, 0), nullptr);
    auto rle = InfoBlock(3, 2, 8, BI_RLE8, {kRed});
    Info(rle)->bmiHeader.biSizeImage = 8;
    EXPECT_EQ(CreateDIBSection(nullptr, Info(rle), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(DeviceBitmap, MadeFromHeaderAndBitsAndReadBackInAnotherFormat) {
    Indexed image;
    HBITMAP bitmap = CreateDIBitmap(nullptr, &Info(image.info)->bmiHeader, CBM_INIT, image.bits.data(), Info(image.info),
                                    DIB_RGB_COLORS);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(ColorFromPixel(bitmap->Pixels().At(0, 0)), kRed);
    EXPECT_EQ(ColorFromPixel(bitmap->Pixels().At(0, 1)), kWhite);

    auto info = InfoBlock(3, 2, 24, BI_RGB, {});
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 2, nullptr, Info(info), DIB_RGB_COLORS), 2);
    EXPECT_EQ(Info(info)->bmiHeader.biSizeImage, 24u);
    std::vector<BYTE> bits(24);
    ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 2, bits.data(), Info(info), DIB_RGB_COLORS), 2);
    const std::vector<BYTE> expected = {255, 255, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0,
                                        0,   0,   255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
    EXPECT_EQ(bits, expected);
    // One scan line from the second: the top row of a bottom-up image.
    std::vector<BYTE> line(12);
    ASSERT_EQ(GetDIBits(nullptr, bitmap, 1, 5, line.data(), Info(info), DIB_RGB_COLORS), 1);
    EXPECT_TRUE(std::equal(line.begin(), line.end(), expected.begin() + 12));

    BITMAPINFO own{};
    ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, 2, nullptr, &own, DIB_RGB_COLORS), 2);
    EXPECT_EQ(own.bmiHeader.biBitCount, 32);
    EXPECT_EQ(own.bmiHeader.biWidth, 3);
    auto wrongSize = InfoBlock(4, 2, 24, BI_RGB, {});
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 2, bits.data(), Info(wrongSize), DIB_RGB_COLORS), 0);
    DeleteObject(bitmap);
}

TEST(DeviceBitmap, PalettisedReadBackTakesTheSelectedPalette) {
    Indexed image;
    HBITMAP bitmap = CreateDIBitmap(nullptr, &Info(image.info)->bmiHeader, CBM_INIT, image.bits.data(), Info(image.info),
                                    DIB_RGB_COLORS);
    // A palette in another order than the image's table.
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 4 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = kPaletteVersion;
    lp->palNumEntries = 4;
    const PALETTEENTRY entries[] = {{255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    std::memcpy(lp->palPalEntry, entries, sizeof entries);
    CPalette palette;
    palette.CreatePalette(lp);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CPalette* old = dc.SelectPalette(&palette, FALSE);

    auto info = InfoBlock(3, 2, 8, BI_RGB, std::vector<COLORREF>(4, 0));
    std::vector<BYTE> bits(8);
    ASSERT_EQ(GetDIBits(&dc, bitmap, 0, 2, bits.data(), Info(info), DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits, (std::vector<BYTE>{0, 3, 3, 0, 3, 2, 1, 0}));
    EXPECT_EQ(Info(info)->bmiColors[1].rgbBlue, 255);  // entry 1 is blue
    dc.SelectPalette(old, FALSE);
    DeleteObject(bitmap);
}

TEST(StretchDIBits, DrawsTheImageScaledAndCountsSourceRowsFromTheBottom) {
    Indexed image;
    MemoryDC m(6, 4);
    m.dc().SetStretchBltMode(COLORONCOLOR);
    EXPECT_EQ(StretchDIBits(&m.dc(), 0, 0, 6, 4, 0, 0, 3, 2, image.bits.data(), Info(image.info), DIB_RGB_COLORS, SRCCOPY), 4);
    EXPECT_EQ(m.Picture(kRed), "##....\n##....\n..####\n..####\n");
    // Source block (0, 0, 1 x 1) of a bottom-up image is its bottom-left pixel.
    MemoryDC one(1, 1, 0);
    StretchDIBits(&one.dc(), 0, 0, 1, 1, 0, 0, 1, 1, image.bits.data(), Info(image.info), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(one.At(0, 0), kWhite);
    EXPECT_EQ(StretchDIBits(&m.dc(), 0, 0, 1, 1, 0, 0, 1, 1, nullptr, Info(image.info), DIB_RGB_COLORS, SRCCOPY), 0);
}

// An image wider than any surface may be is drawn from its bits where they lie: a 1-bit image of
// 100000 x 2 pixels, white but for its last column, shows that column at its edge and, shrunk,
// where the nearest pixel falls.
TEST(StretchDIBits, DrawsUncompressedImagesOfAnySizeWithoutDecodingThemWhole) {
    const LONG width = 100000;
    std::vector<BYTE> info = InfoBlock(width, 2, 1, BI_RGB, {kWhite, kRed});
    const size_t stride = DibStride(width, 1);
    std::vector<BYTE> bits(2 * stride);
    for (size_t row = 0; row < 2; ++row) bits[row * stride + (width - 1) / 8] = 0x80 >> ((width - 1) % 8);
    MemoryDC edge(4, 2);
    EXPECT_EQ(StretchDIBits(&edge.dc(), 4 - width, 0, width, 2, 0, 0, width, 2, bits.data(), Info(info), DIB_RGB_COLORS,
                            SRCCOPY),
              2);
    EXPECT_EQ(edge.Picture(kRed), "...#\n...#\n");
    MemoryDC shrunk(1, 1);
    StretchDIBits(&shrunk.dc(), 0, 0, 1, 1, width - 1, 0, 1, 1, bits.data(), Info(info), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(shrunk.At(0, 0), kRed);
}

TEST(DibLayout, LiftsTheSizeLimitsOnlyForUncompressedRows) {
    BITMAPINFOHEADER wide{40, 20000, 1000, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_FALSE(DibLayout::From(wide));
    ASSERT_TRUE(DibLayout::From(wide, DibSizeLimit::lifted));
    EXPECT_EQ(DibLayout::From(wide, DibSizeLimit::lifted)->imageSize, 60000u * 1000u);
    BITMAPINFOHEADER rle{40, 20000, 1000, 1, 8, BI_RLE8, 2, 0, 0, 0, 0};
    EXPECT_FALSE(DibLayout::From(rle, DibSizeLimit::lifted));  // a few bytes may claim any area
}

TEST(DibFormats, EveryBitCountDecodesAndEncodesBackToTheSameBits) {
    // 3 x 2 images whose top-left pixel is red and bottom-right pixel white, in each format.
    struct Case {
        const char* name;
        WORD bitCount;
        std::vector<COLORREF> table;
        std::vector<BYTE> bits;  // bottom row first
    };
    const Case cases[] = {
        {"1 bit", 1, {kRed, kWhite}, {0x20, 0, 0, 0, 0x00, 0, 0, 0}},
        {"4 bits", 4, {kRed, kGreen, kBlue, kWhite}, {0x12, 0x30, 0, 0, 0x01, 0x20, 0, 0}},
        {"8 bits", 8, {kRed, kGreen, kBlue, kWhite}, {1, 2, 3, 0, 0, 1, 2, 0}},
        {"16 bits 5-5-5", 16, {}, {0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F, 0, 0, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}},
        {"24 bits", 24, {}, {0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}},
        {"32 bits", 32, {}, {0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        auto info = InfoBlock(3, 2, c.bitCount, BI_RGB, c.table);
        HBITMAP bitmap = CreateDIBitmap(nullptr, &Info(info)->bmiHeader, CBM_INIT, c.bits.data(), Info(info), DIB_RGB_COLORS);
        ASSERT_NE(bitmap, nullptr) << c.name;
        EXPECT_EQ(ColorFromPixel(bitmap->Pixels().At(0, 0)), kRed) << c.name;
        EXPECT_EQ(ColorFromPixel(bitmap->Pixels().At(2, 1)), kWhite) << c.name;
        std::vector<BYTE> back(c.bits.size(), 0xAA);
        EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 2, back.data(), Info(info), DIB_RGB_COLORS), 2) << c.name;
        EXPECT_EQ(back, c.bits) << c.name;
        DeleteObject(bitmap);
    }
}

TEST(DibFormats, BitfieldMasksOf565) {
    auto info = InfoBlock(1, 1, 16, BI_BITFIELDS, {0, 0, 0});
    const DWORD masks[] = {0xF800, 0x07E0, 0x001F};  // in the colour table's place
    std::memcpy(info.data() + kInfoHeaderSize, masks, sizeof masks);
    const std::vector<BYTE> bits = {0x1F, 0xF8, 0, 0};  // red 31, blue 31: magenta
    HBITMAP bitmap = CreateDIBitmap(nullptr, &Info(info)->bmiHeader, CBM_INIT, bits.data(), Info(info), DIB_RGB_COLORS);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(ColorFromPixel(bitmap->Pixels().At(0, 0)), 0xFF00FFu);
    DeleteObject(bitmap);
}

TEST(DibLayout, RefusesHeadersItCannotDraw) {
    struct Case {
        const char* name;
        LONG width, height;
        WORD bits;
        DWORD compression, colors, size;
    };
    const Case refused[] = {
        {"header size below 40", 1, 1, 8, BI_RGB, 0, 12},
        {"no width", 0, 1, 8, BI_RGB, 0, 40},
        {"no height", 1, 0, 8, BI_RGB, 0, 40},
        {"bit count 7", 1, 1, 7, BI_RGB, 0, 40},
        {"RLE8 at 4 bits", 1, 1, 4, BI_RLE8, 0, 40},
        {"RLE4 top-down", 1, -1, 4, BI_RLE4, 0, 40},
        {"300 colours at 8 bits", 1, 1, 8, BI_RGB, 300, 40},
        {"too wide", 20000, 1, 24, BI_RGB, 0, 40},
        {"too many pixels", 16000, 16000, 24, BI_RGB, 0, 40},
        {"unknown compression", 1, 1, 24, 7, 0, 40},
    };
    for (const auto& c : refused) {
        BITMAPINFOHEADER h{c.size, c.width, c.height, 1, c.bits, c.compression, 0, 0, 0, c.colors, 0};
        EXPECT_FALSE(DibLayout::From(h)) << c.name;
    }
    BITMAPINFOHEADER ok{40, 3, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const auto layout = DibLayout::From(ok);
    ASSERT_TRUE(layout);
    EXPECT_TRUE(layout->topDown);
    EXPECT_EQ(layout->imageSize, 24u);
    EXPECT_EQ(layout->colorCount, 0u);
    ok.biClrUsed = 5;  // a colour table on a true-colour image counts
    EXPECT_EQ(DibLayout::From(ok)->colorCount, 5u);
}

}  // namespace
