// Real peers: bitmaps that ImageMagick writes are read and painted with its pixels, and the
// files that Write, SaveToMappedFile and ChangeCompression make are decoded by ImageMagick (and
// by Pillow, where they are uncompressed) to the pixels the class paints.
#include "platform/gdi/CDC.h"
#include "platform/gdi/ColorRef.h"
#include "tests/dib/DibFixture.h"
#include "tests/support/RunCommand.h"

namespace {

constexpr const char* kPicture = "-size 37x23 gradient:red-blue -swirl 90";

// Red, green and blue bytes of each pixel, rows top-down.
std::vector<BYTE> RgbOfPaint(CDib& dib) {
    const CSize size = dib.GetExtent();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, size.cx, size.cy);
    dc.SelectObject(&bitmap);
    EXPECT_TRUE(dib.Paint(&dc, CPoint(0, 0), size));
    std::vector<BYTE> rgb;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            const COLORREF c = dc.GetPixel(x, y);
            rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    return rgb;
}

std::vector<BYTE> Output(const std::string& command) {
    const CommandResult r = RunCommand(command);
    return std::vector<BYTE>(r.output.begin(), r.output.end());
}

// ImageMagick's decoding. It warns about the zero file-size field that Write leaves, and ends
// with status 1 for the warning though it decodes the image; the pixels are what is compared
// (MagickAccepts asks for the status).
std::vector<BYTE> RgbByImageMagick(const std::string& path) {
    return Output("convert '" + path + "' -depth 8 rgb:- 2>/dev/null");
}

bool MagickAccepts(const std::string& path) {
    return RunCommand("convert '" + path + "' -depth 8 rgb:- >/dev/null 2>&1").status == 0;
}

std::vector<BYTE> RgbByPillow(const std::string& path) {
    return Output("/usr/bin/python3 -c \"import sys; from PIL import Image; "
                  "sys.stdout.buffer.write(Image.open('" + path + "').convert('RGB').tobytes())\"");
}

struct MagickCase {
    const char* name;
    const char* options;
    WORD bitCount;
    DWORD compression;
};

TEST_F(DibTest, ReadsAndPaintsWhatImageMagickWrites) {
    const MagickCase cases[] = {
        {"1 bit", "-monochrome -compress None", 1, BI_RGB},
        {"4 bits", "-colors 12 -compress None", 4, BI_RGB},
        {"8 bits", "-colors 200 -type Palette -compress None", 8, BI_RGB},
        {"8 bits RLE8", "-colors 200 -type Palette -compress RLE", 8, BI_RLE8},
        {"24 bits", "-type TrueColor", 24, BI_RGB},
        {"32 bits", "-alpha on -define bmp3:alpha=true", 32, BI_RGB},
    };
    for (const MagickCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("magick.bmp");
        ASSERT_EQ(RunCommand(std::string("convert ") + kPicture + " " + c.options + " BMP3:'" + path + "'").status, 0);
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, path));
        EXPECT_EQ(dib.GetHeader().biBitCount, c.bitCount);
        EXPECT_EQ(dib.GetHeader().biCompression, c.compression);
        EXPECT_EQ(RgbOfPaint(dib), RgbByImageMagick(path));
    }
}

// Colour masks in the layouts Pillow decodes: read and painted with the colours it sees.
TEST_F(DibTest, PaintsMaskedImagesAsPillowDecodesThem) {
    const BmpSpec specs[] = {
        {.width = 13, .height = 5, .bitCount = 16, .masks = {0xF800, 0x07E0, 0x001F}},
        {.width = 13, .height = 5, .bitCount = 16, .masks = {0x7C00, 0x03E0, 0x001F}},
        {.width = 13, .height = 5, .bitCount = 32, .masks = {0xFF000000, 0x00FF0000, 0x0000FF00}},
        {.width = 13, .height = 5, .bitCount = 32, .masks = {0x00FF0000, 0x0000FF00, 0x000000FF}},
    };
    for (const BmpSpec& spec : specs) {
        SCOPED_TRACE(testing::Message() << spec.bitCount << " bits, red mask " << std::hex << spec.masks[0]);
        const std::string path = Save(MakeBitmapFile(spec));
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, path)) << dib.LastFailure();
        EXPECT_EQ(RgbOfPaint(dib), RgbByPillow(path));
    }
}

// Writes the image through CFile and Write.
std::string WriteTo(CDib& dib, const std::string& path) {
    CFile out;
    EXPECT_TRUE(out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(dib.Write(&out));
    return path;
}

TEST_F(DibTest, PeersDecodeWhatTheClassWrites) {
    for (const WORD bitCount : {WORD{1}, WORD{4}, WORD{8}, WORD{24}, WORD{32}}) {
        SCOPED_TRACE(bitCount);
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile({.width = 13, .height = 5, .bitCount = bitCount}))));
        const std::vector<BYTE> painted = RgbOfPaint(dib);
        const std::string written = WriteTo(dib, dir.file("written.bmp"));
        EXPECT_EQ(RgbByImageMagick(written), painted);
        EXPECT_EQ(RgbByPillow(written), painted);
        const std::string mapped = dir.file("mapped.bmp");
        ASSERT_TRUE(dib.SaveToMappedFile(mapped.c_str()));
        dib.Clear();
        EXPECT_EQ(RgbByImageMagick(mapped), painted);
        EXPECT_TRUE(MagickAccepts(mapped));  // the true file size: no warning
        EXPECT_EQ(RgbByPillow(mapped), painted);
    }
}

TEST_F(DibTest, ImageMagickDecodesTheCompressedAndDecompressedImages) {
    for (const WORD bitCount : {WORD{4}, WORD{8}}) {
        SCOPED_TRACE(bitCount);
        const std::string source = dir.file("source.bmp");
        const std::string colors = bitCount == 4 ? "-colors 12" : "-colors 200 -type Palette";
        ASSERT_EQ(RunCommand(std::string("convert ") + kPicture + " " + colors + " -compress None BMP3:'" + source + "'").status, 0);
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, source));
        const std::vector<BYTE> expected = RgbByImageMagick(source);
        ASSERT_TRUE(dib.ChangeCompression(nullptr, TRUE));
        EXPECT_EQ(RgbByImageMagick(WriteTo(dib, dir.file("rle.bmp"))), expected);
        ASSERT_TRUE(dib.ChangeCompression(nullptr, FALSE));
        const std::string plain = WriteTo(dib, dir.file("plain.bmp"));
        EXPECT_EQ(RgbByImageMagick(plain), expected);
        EXPECT_EQ(RgbByPillow(plain), expected);
    }
}

}  // namespace
