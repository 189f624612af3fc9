// The bitmap class on a device context: palettes, painting, sections, device bitmaps and the
// conversion between run-length-encoded and uncompressed pixels.
#include "platform/gdi/CDC.h"
#include "platform/gdi/ColorRef.h"
#include "tests/dib/DibFixture.h"

namespace {

// A memory context with a bitmap of the given size selected.
struct Canvas {
    Canvas(int width, int height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, width, height);
        dc.SelectObject(&bitmap);
    }
    CDC dc;
    CBitmap bitmap;
};

// The colour of the 8-bit built image at (x, y) from the top.
COLORREF BuiltPixel(const BmpSpec& spec, int x, int y) {
    const std::vector<BYTE> pixels = PixelsOf(spec);
    const size_t stride = DibStride(static_cast<DWORD>(spec.width), 8);
    return BuiltColor(pixels[stride * static_cast<size_t>(spec.height - 1 - y) + static_cast<size_t>(x)]);
}

// Every pixel of the image painted at its own size.
std::vector<COLORREF> Painted(CDib& dib) {
    const CSize size = dib.GetExtent();
    Canvas canvas(size.cx, size.cy);
    EXPECT_TRUE(dib.Paint(&canvas.dc, CPoint(0, 0), size));
    std::vector<COLORREF> out;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) out.push_back(canvas.dc.GetPixel(x, y));
    return out;
}

TEST_F(DibTest, PaintStretchesTheImageBottomUp) {
    const BmpSpec spec;
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile(spec))));
    Canvas canvas(20, 10);
    ASSERT_TRUE(dib.Paint(&canvas.dc, CPoint(2, 1), CSize(10, 6)));
    EXPECT_EQ(canvas.dc.GetCurrentPalette(), dib.GetPalette());
    EXPECT_EQ(canvas.dc.GetStretchBltMode(), COLORONCOLOR);
    for (int y = 0; y < spec.height; ++y)
        for (int x = 0; x < spec.width; ++x) {
            EXPECT_EQ(canvas.dc.GetPixel(2 + 2 * x, 1 + 2 * y), BuiltPixel(spec, x, y)) << x << "," << y;
            EXPECT_EQ(canvas.dc.GetPixel(3 + 2 * x, 2 + 2 * y), BuiltPixel(spec, x, y)) << x << "," << y;
        }
    EXPECT_FALSE(CDib().Paint(&canvas.dc, CPoint(0, 0), CSize(1, 1)));
}

// The colour of a built 8- or 24-bit image at (x, y) from the top.
COLORREF BuiltColorAt(const BmpSpec& spec, const std::vector<BYTE>& pixels, int x, int y) {
    const size_t row = DibStride(static_cast<DWORD>(spec.width), spec.bitCount) * static_cast<size_t>(spec.height - 1 - y);
    if (spec.bitCount == 8) return BuiltColor(pixels[row + static_cast<size_t>(x)]);
    const BYTE* p = pixels.data() + row + 3 * static_cast<size_t>(x);
    return RGB(p[2], p[1], p[0]);
}

// Images beyond 16384 pixels a side paint without a surface of their size: shrunk to a small
// context, each pixel is the source pixel nearest its centre, and painted at full size far
// past the context's edge, the part inside shows pixel for pixel.
TEST_F(DibTest, PaintsImagesBeyondTheDrawingLimits) {
    const BmpSpec specs[] = {{.width = 20000, .height = 3, .bitCount = 24}, {.width = 3, .height = 17000, .bitCount = 8}};
    for (const BmpSpec& spec : specs) {
        SCOPED_TRACE(testing::Message() << spec.width << " x " << spec.height);
        const std::vector<BYTE> pixels = PixelsOf(spec);
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile(spec))));
        Canvas shrunk(40, 30);
        ASSERT_TRUE(dib.Paint(&shrunk.dc, CPoint(0, 0), CSize(40, 30)));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(shrunk.dc.GetPixel(x, y),
                          BuiltColorAt(spec, pixels, (2 * x + 1) * spec.width / 80, (2 * y + 1) * spec.height / 60))
                    << x << "," << y;
        Canvas edge(3, 3);
        ASSERT_TRUE(dib.Paint(&edge.dc, CPoint(3 - spec.width, 3 - spec.height), CSize(spec.width, spec.height)));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(edge.dc.GetPixel(x, y), BuiltColorAt(spec, pixels, spec.width - 3 + x, spec.height - 3 + y));
    }
}

TEST_F(DibTest, PaletteTakesTheColourTable) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile({.bitCount = 4}))));
    ASSERT_NE(dib.GetPalette(), nullptr);
    const auto& entries = dib.GetPalette()->Entries();
    ASSERT_EQ(entries.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        const PALETTEENTRY e = entries[static_cast<size_t>(i)];
        EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), BuiltColor(i));
        EXPECT_EQ(e.peFlags, 0);
    }
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    EXPECT_EQ(dib.SelectPaletteInto(&dc, FALSE), 16);
    EXPECT_EQ(dc.GetCurrentPalette(), dib.GetPalette());
    CDib trueColour;
    ASSERT_TRUE(ReadFile(trueColour, Save(MakeBitmapFile({.bitCount = 24}))));
    EXPECT_FALSE(trueColour.BuildPalette());
    EXPECT_EQ(trueColour.SelectPaletteInto(&dc, FALSE), 0);
}

TEST_F(DibTest, HalftonePaletteOnlyWithoutAColourTable) {
    CDib indexed, trueColour;
    ASSERT_TRUE(ReadFile(indexed, Save(MakeBitmapFile({.bitCount = 8}))));
    ASSERT_TRUE(ReadFile(trueColour, Save(MakeBitmapFile({.bitCount = 24}), "true.bmp")));
    EXPECT_FALSE(indexed.UseHalftonePalette(nullptr));
    ASSERT_TRUE(trueColour.UseHalftonePalette(nullptr));
    EXPECT_EQ(trueColour.GetPalette()->Entries().size(), kHalftonePaletteSize);
}

struct ConstructCase {
    CSize size;
    int bitCount;
    int colors;
};

TEST_F(DibTest, ConstructorMakesAnEmptyImageOfTheSizeAndDepth) {
    const ConstructCase cases[] = {{CSize(4, 2), 1, 2}, {CSize(7, 3), 4, 16}, {CSize(5, 5), 8, 256}, {CSize(3, 2), 24, 0}};
    for (const ConstructCase& c : cases) {
        SCOPED_TRACE(c.bitCount);
        CDib dib(c.size, c.bitCount);
        const BITMAPINFOHEADER h = dib.GetHeader();
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(CSize(h.biWidth, h.biHeight), c.size);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, c.bitCount);
        EXPECT_EQ(h.biCompression, BI_RGB);
        EXPECT_EQ(h.biSizeImage, 0u);
        EXPECT_EQ(h.biClrUsed, static_cast<DWORD>(c.colors));
        EXPECT_EQ(h.biClrImportant, static_cast<DWORD>(c.colors));
        EXPECT_EQ(dib.GetColorCount(), c.colors);
        EXPECT_EQ(std::vector<BYTE>(dib.GetColorTable(), dib.GetColorTable() + 4 * c.colors), std::vector<BYTE>(4 * c.colors));
        EXPECT_EQ(dib.GetBits(), nullptr);
    }
}

TEST_F(DibTest, MakeSectionGivesPixelsOnlyOnce) {
    CDib dib(CSize(4, 2), 8);
    HBITMAP section = dib.MakeSection(nullptr);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(dib.GetSection(), section);
    ASSERT_NE(dib.GetBits(), nullptr);
    BYTE* bits = dib.GetBits();
    EXPECT_EQ(dib.MakeSection(nullptr), nullptr);  // pixel data exists: nothing changes
    EXPECT_EQ(dib.GetBits(), bits);
    EXPECT_EQ(dib.GetSection(), section);
    CDib read;
    ASSERT_TRUE(ReadFile(read, Save(MakeBitmapFile())));
    EXPECT_EQ(read.MakeSection(nullptr), nullptr);
    EXPECT_EQ(CDib().MakeSection(nullptr), nullptr);
}

TEST_F(DibTest, ReadSectionPutsThePixelsIntoASection) {
    CDib dib;
    CFile file;
    ASSERT_TRUE(file.Open(Save(MakeBitmapFile()).c_str(), CFile::modeRead));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    ASSERT_TRUE(dib.ReadSection(&file, &dc));
    ASSERT_NE(dib.GetSection(), nullptr);
    EXPECT_EQ(dib.GetBits(), dib.GetSection()->SectionBits());
    EXPECT_EQ(std::vector<BYTE>(dib.GetBits(), dib.GetBits() + 24), PixelsOf({}));
    EXPECT_EQ(dc.GetCurrentPalette(), dib.GetPalette());
}

TEST_F(DibTest, ReadSectionRefusesCompressedImages) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile())));
    ASSERT_TRUE(dib.ChangeCompression(nullptr, TRUE));
    const std::string path = dir.file("rle.bmp");
    {
        CFile out;
        ASSERT_TRUE(out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(dib.Write(&out));
    }
    CFile in;
    ASSERT_TRUE(in.Open(path.c_str(), CFile::modeRead));
    EXPECT_FALSE(dib.ReadSection(&in, nullptr));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"ReadSection error"});
}

TEST_F(DibTest, DeviceBitmapNeedsPixels) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile())));
    CBitmap device;
    ASSERT_TRUE(device.Attach(dib.MakeDeviceBitmap(nullptr)));
    EXPECT_EQ(device.GetHandle()->Pixels().Width(), 5);
    EXPECT_EQ(CDib(CSize(4, 2), 8).MakeDeviceBitmap(nullptr), nullptr);
}

TEST_F(DibTest, ChangeCompressionRefusesOtherDepthsAndSections) {
    CDib trueColour;
    ASSERT_TRUE(ReadFile(trueColour, Save(MakeBitmapFile({.bitCount = 24}))));
    EXPECT_FALSE(trueColour.ChangeCompression(nullptr, TRUE));
    EXPECT_EQ(trueColour.LastFailure(), "the image has 24 bits per pixel; only 4- and 8-bit images change compression");
    CDib withSection(CSize(4, 2), 8);
    ASSERT_NE(withSection.MakeSection(nullptr), nullptr);
    EXPECT_FALSE(withSection.ChangeCompression(nullptr, TRUE));
    EXPECT_FALSE(withSection.LastFailure().empty());
    EXPECT_FALSE(CDib().ChangeCompression(nullptr, TRUE));
    EXPECT_TRUE(TakeMessages().empty());
}

struct CompressionCase {
    WORD bitCount;
    DWORD compressed;
};

TEST_F(DibTest, ChangeCompressionThereAndBackKeepsThePixels) {
    for (const CompressionCase c : {CompressionCase{4, BI_RLE4}, CompressionCase{8, BI_RLE8}}) {
        SCOPED_TRACE(c.bitCount);
        const BmpSpec spec{.width = 13, .height = 7, .bitCount = c.bitCount};
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile(spec))));
        const std::vector<COLORREF> before = Painted(dib);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        ASSERT_TRUE(dib.ChangeCompression(&dc, TRUE));
        EXPECT_EQ(dib.GetHeader().biCompression, c.compressed);
        EXPECT_EQ(dib.GetImageSize(), dib.GetHeader().biSizeImage);
        EXPECT_EQ(dib.GetColorCount(), 1 << c.bitCount);
        EXPECT_EQ(Painted(dib), before);
        ASSERT_TRUE(dib.ChangeCompression(&dc, FALSE));
        EXPECT_EQ(dib.GetHeader().biCompression, BI_RGB);
        EXPECT_EQ(dib.GetHeader().biSizeImage, dib.GetImageSize());
        EXPECT_EQ(std::vector<BYTE>(dib.GetBits(), dib.GetBits() + dib.GetImageSize()), PixelsOf(spec));
    }
    EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace
