// The bitmap class's reading of headers: colour counts and image sizes by the header's fields,
// and every damaged or unsupported header refused with its message, by Read, ReadSection,
// MapFile and AttachMemory alike, leaving the object empty.
#include <functional>

#include "platform/gdi/ColorRef.h"
#include "tests/dib/DibFixture.h"

namespace {

struct CountCase {
    WORD bitCount;
    DWORD clrUsed;
    int colors;
};

TEST_F(DibTest, ColourCountFollowsTheDepthUnlessColoursUsedIsSet) {
    const CountCase cases[] = {{1, 0, 2}, {4, 0, 16}, {8, 0, 256}, {16, 0, 0}, {24, 0, 0}, {32, 0, 0}, {8, 17, 17}, {24, 5, 5}};
    for (const CountCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, colours used " << c.clrUsed);
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile({.bitCount = c.bitCount, .clrUsed = c.clrUsed}))));
        EXPECT_EQ(dib.GetColorCount(), c.colors);
        EXPECT_EQ(dib.GetPalette() != nullptr, c.colors != 0);
    }
}

struct SizeCase {
    int width, height;
    WORD bitCount;
    DWORD imageSize;
};

TEST_F(DibTest, ImageSizeIsRowStrideTimesHeight) {
    // 24 bits x 3 pixels = 9 bytes, padded to 12.
    const SizeCase cases[] = {{3, 2, 24, 24}, {1, 1, 1, 4}, {33, 2, 1, 16}, {5, 3, 4, 12}, {5, 3, 8, 24}, {3, 2, 32, 24}, {7, 1, 16, 16}};
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.bitCount);
        CDib dib;
        ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile({.width = c.width, .height = c.height, .bitCount = c.bitCount}))));
        EXPECT_EQ(dib.GetImageSize(), c.imageSize);
        CDib made(CSize(c.width, c.height), c.bitCount);
        EXPECT_EQ(made.GetImageSize(), c.imageSize);
    }
}

TEST_F(DibTest, ImageSizeFieldWinsWhenSet) {
    BmpSpec spec{.sizeImage = 40};  // 8 bytes beyond the 24 that the rows take
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile(spec))));
    EXPECT_EQ(dib.GetImageSize(), 40u);
    EXPECT_EQ(std::vector<BYTE>(dib.GetBits(), dib.GetBits() + 40), PixelsOf(spec));
}

// A damaged or unsupported file, and what each reader says of it (nullptr: it is accepted).
struct Fault {
    const char* name;
    std::function<void(std::vector<BYTE>&)> damage;
    const char* mapFileMessage;
    BmpSpec spec = {};
};

const Fault kFaults[] = {
    {"no BM", [](auto& b) { b[0] = 'X'; }, "Invalid bitmap file"},
    {"info header of 108 bytes", [](auto&) {}, "AttachMemory error", {.headerSize = 108}},
    {"info header of 124 bytes", [](auto&) {}, "AttachMemory error", {.headerSize = 124}},
    {"top-down rows", [](auto& b) { PutU32At(b, kAtHeight, static_cast<DWORD>(-3)); }, "AttachMemory error"},
    {"pixel offset inside the info header", [](auto& b) { PutU32At(b, kAtPixelOffset, 20); }, "Invalid bitmap file"},
    {"pixel offset past the end", [](auto& b) { PutU32At(b, kAtPixelOffset, static_cast<DWORD>(b.size() + 1)); },
     "Invalid bitmap file"},
    // The table of 256 entries runs past the pixel offset; a mapped file holds it all, and its
    // pixels are taken right after the table, so MapFile accepts it.
    {"colour table cut by the pixel offset", [](auto& b) { PutU32At(b, kAtPixelOffset, 54 + 40); }, nullptr},
    {"file cut inside the colour table", [](auto& b) { b.resize(54 + 100); }, "Invalid bitmap file"},
    {"file cut inside the pixels", [](auto& b) { b.pop_back(); }, "AttachMemory error"},
    {"file cut inside the file header", [](auto& b) { b.resize(10); }, "Invalid bitmap file"},
    {"file cut inside the info header", [](auto& b) { b.resize(40); }, "Invalid bitmap file"},
    {"no width", [](auto& b) { PutU32At(b, kAtWidth, 0); }, "AttachMemory error"},
    {"absurd width", [](auto& b) { PutU32At(b, kAtWidth, 100000); }, "AttachMemory error"},
    {"absurd height", [](auto& b) { PutU32At(b, kAtHeight, 0x7FFFFFFF); }, "AttachMemory error"},
    {"bit count 7", [](auto& b) { PutU16At(b, kAtBitCount, 7); }, "AttachMemory error"},
    {"300 colours at 8 bits", [](auto& b) { PutU32At(b, kAtClrUsed, 300); }, "AttachMemory error"},
    {"image size below the rows", [](auto& b) { PutU32At(b, kAtSizeImage, 5); }, "AttachMemory error"},
    {"image size past the end", [](auto& b) { PutU32At(b, kAtSizeImage, 0x7FFFFFFF); }, "AttachMemory error"},
    {"RLE8 at 4 bits", [](auto& b) { PutU32At(b, kAtCompression, BI_RLE8); }, "AttachMemory error", {.bitCount = 4}},
    // Masks that would lie where the pixels begin.
    {"colour masks cut by the pixel offset", [](auto& b) { PutU32At(b, kAtCompression, BI_BITFIELDS); },
     "AttachMemory error", {.bitCount = 32}},
    {"colour masks at 24 bits", [](auto&) {}, "AttachMemory error", {.bitCount = 24, .masks = {0xFF0000, 0xFF00, 0xFF}}},
};

class DamagedFileTest : public DibTest {
protected:
    std::string SaveDamaged(const Fault& f) {
        std::vector<BYTE> bytes = MakeBitmapFile(f.spec);
        f.damage(bytes);
        return Save(bytes);
    }
};

TEST_F(DamagedFileTest, ReadRefusesDamagedFilesAndStaysEmpty) {
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.name);
        const std::string path = SaveDamaged(f);
        CDib dib;
        EXPECT_FALSE(ReadFile(dib, path));
        EXPECT_FALSE(dib.HasHeader());
        EXPECT_EQ(dib.GetBits(), nullptr);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Read error"});
        EXPECT_FALSE(dib.LastFailure().empty());

        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        EXPECT_FALSE(dib.ReadSection(&file, &dc));
        EXPECT_EQ(dib.GetSection(), nullptr);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{"ReadSection error"});
    }
}

TEST_F(DamagedFileTest, MapFileRefusesDamagedFilesAndReleasesThem) {
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.name);
        const std::string path = SaveDamaged(f);
        CDib dib;
        EXPECT_EQ(dib.MapFile(path.c_str()), f.mapFileMessage == nullptr);
        if (f.mapFileMessage) {
            EXPECT_EQ(TakeMessages(), std::vector<std::string>{f.mapFileMessage});
            EXPECT_FALSE(dib.LastFailure().empty());
            EXPECT_FALSE(dib.HasHeader());
            EXPECT_FALSE(dib.IsMapped());
            // Nothing of the refused call holds the file: an exclusive open succeeds.
            HANDLE again = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            EXPECT_NE(again, INVALID_HANDLE_VALUE);
            CloseHandle(again);
        }
    }
}

// The reason each reader keeps for a person, beside its fixed message.
TEST_F(DamagedFileTest, ReadersKeepTheReasonTheyRefusedFor) {
    std::vector<BYTE> cut = MakeBitmapFile();
    cut.pop_back();
    const std::string path = Save(cut);
    CDib dib;
    EXPECT_FALSE(dib.MapFile(path.c_str()));
    EXPECT_EQ(dib.LastFailure(), "the block is shorter than its header says");
    EXPECT_FALSE(ReadFile(dib, path));
    EXPECT_EQ(dib.LastFailure(), "pixel data of 24 bytes runs past the file's end (23 bytes after the pixel offset)");
    std::vector<BYTE> notBitmap = MakeBitmapFile();
    notBitmap[0] = 'X';
    EXPECT_FALSE(dib.MapFile(Save(notBitmap).c_str()));
    EXPECT_EQ(dib.LastFailure(), "file does not start with \"BM\"");
}

struct MaskCase {
    const char* name;
    BmpSpec spec;
};

// Colour masks sit between the info header and the colour table, where a colour table would
// begin; a table after them and the pixels after that are found by every reader.
TEST_F(DibTest, MaskedImagesKeepTheirMasksBeforeTheColourTable) {
    const MaskCase cases[] = {
        {"16 bits 5-6-5", {.bitCount = 16, .masks = {0xF800, 0x07E0, 0x001F}}},
        {"32 bits, red highest", {.bitCount = 32, .masks = {0xFF000000, 0x00FF0000, 0x0000FF00}}},
        {"16 bits with a colour table", {.bitCount = 16, .clrUsed = 4, .masks = {0x7C00, 0x03E0, 0x001F}}},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<BYTE> file = MakeBitmapFile(c.spec);
        const std::string path = Save(file);
        const std::vector<BYTE> masks(file.begin() + 54, file.begin() + 66);
        const std::vector<BYTE> pixels = PixelsOf(c.spec);
        CDib read, mapped, attached;
        ASSERT_TRUE(ReadFile(read, path));
        ASSERT_TRUE(mapped.MapFile(path.c_str()));
        std::vector<BYTE> packed(file.begin() + kBmpFileHeaderSize, file.end());
        ASSERT_TRUE(attached.AttachMemory(packed.data()));
        EXPECT_EQ(attached.GetBits(), packed.data() + 40 + 12 + 4 * c.spec.clrUsed);
        for (CDib* dib : {&read, &mapped, &attached}) {
            EXPECT_EQ(dib->GetColorCount(), static_cast<int>(c.spec.clrUsed));
            EXPECT_EQ(std::vector<BYTE>(dib->GetColorTable(), dib->GetColorTable() + 12), masks);
            EXPECT_EQ(std::vector<BYTE>(dib->GetBits(), dib->GetBits() + pixels.size()), pixels);
            const HPALETTE palette = dib->GetPalette();
            ASSERT_EQ(palette != nullptr, c.spec.clrUsed != 0);
            if (palette) {
                EXPECT_EQ(palette->Entries()[1].peRed, GetRValue(BuiltColor(1)));
            }
        }
    }
}

// Beyond 16384 pixels a side: read and mapped where the file vouches for the bytes; a block
// given by its address alone is still held to the drawing limits, and so are run-length-
// encoded rows, whose few bytes can claim any area.
TEST_F(DibTest, ImagesBeyondTheDrawingLimitsReadWhereTheirLengthIsKnown) {
    const BmpSpec spec{.width = 20000, .height = 2, .bitCount = 24};
    const std::vector<BYTE> file = MakeBitmapFile(spec);
    const std::string path = Save(file);
    CDib read, mapped, attached;
    ASSERT_TRUE(ReadFile(read, path)) << read.LastFailure();
    EXPECT_EQ(read.GetExtent(), CSize(20000, 2));
    EXPECT_EQ(read.GetImageSize(), 120000u);
    ASSERT_TRUE(mapped.MapFile(path.c_str())) << mapped.LastFailure();
    EXPECT_EQ(std::vector<BYTE>(mapped.GetBits(), mapped.GetBits() + 120000), PixelsOf(spec));
    std::vector<BYTE> packed(file.begin() + kBmpFileHeaderSize, file.end());
    EXPECT_FALSE(attached.AttachMemory(packed.data()));
    EXPECT_NE(attached.LastFailure().find("at most 16384 pixels a side"), std::string::npos) << attached.LastFailure();
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"AttachMemory error"});

    std::vector<BYTE> rle = MakeBitmapFile({.width = 20000, .height = 1000, .bitCount = 8, .sizeImage = 2});
    PutU32At(rle, kAtCompression, BI_RLE8);
    EXPECT_FALSE(ReadFile(read, Save(rle, "rle.bmp")));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Read error"});
}

TEST_F(DibTest, MapFileOfAnEmptyOrMissingFileIsAnEmptyBitmapFile) {
    CDib dib;
    EXPECT_FALSE(dib.MapFile(Save({}).c_str()));
    EXPECT_FALSE(dib.MapFile(dir.file("missing.bmp").c_str()));
    EXPECT_EQ(TakeMessages(), (std::vector<std::string>{"Empty bitmap file", "Empty bitmap file"}));
}

TEST_F(DibTest, MapFileThatFailsClearsTheImageBefore) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile())));
    std::vector<BYTE> bytes = MakeBitmapFile();
    bytes[1] = 'X';
    EXPECT_FALSE(dib.MapFile(Save(bytes, "bad.bmp").c_str()));
    EXPECT_FALSE(dib.HasHeader());
}

TEST_F(DibTest, AttachMemoryTakesAPackedBitmap) {
    const std::vector<BYTE> file = MakeBitmapFile();
    std::vector<BYTE> packed(file.begin() + kBmpFileHeaderSize, file.end());
    CDib dib;
    ASSERT_TRUE(dib.AttachMemory(packed.data()));
    EXPECT_EQ(dib.GetExtent(), CSize(5, 3));
    EXPECT_EQ(dib.GetColorTable(), packed.data() + 40);
    EXPECT_EQ(dib.GetBits(), packed.data() + 40 + 4 * 256);
    dib.Clear();  // not owned: the vector keeps its block

    PutU32At(packed, 0, 124);
    EXPECT_FALSE(dib.AttachMemory(packed.data()));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"AttachMemory error"});
}

TEST_F(DibTest, AttachMemoryFreesOwnedBlocks) {
    const std::vector<BYTE> file = MakeBitmapFile();
    const size_t size = file.size() - kBmpFileHeaderSize;
    CDib dib;
    auto* heap = new BYTE[size];
    std::copy(file.begin() + kBmpFileHeaderSize, file.end(), heap);
    ASSERT_TRUE(dib.AttachMemory(heap, TRUE));
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, size);
    auto* locked = static_cast<BYTE*>(GlobalLock(global));
    std::copy(file.begin() + kBmpFileHeaderSize, file.end(), locked);
    ASSERT_TRUE(dib.AttachMemory(locked, TRUE, global));  // frees the heap block
    EXPECT_EQ(dib.GetBits(), locked + 40 + 4 * 256);
    dib.Clear();  // frees the global block; the sanitizers see any leak or double free
}

}  // namespace
