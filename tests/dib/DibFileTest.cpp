// Bitmap files written and read back, mapped files and their changes, and the failures of
// writing and of SaveToMappedFile.
#include <sys/resource.h>

#include <csignal>
#include <cstring>

#include "platform/core/FileSystem.h"
#include "platform/core/LittleEndian.h"
#include "tests/dib/DibFixture.h"

namespace {

std::vector<BYTE> BytesOf(const BYTE* at, size_t count) { return std::vector<BYTE>(at, at + count); }

void ExpectSameImage(const CDib& a, const CDib& b) {
    ASSERT_TRUE(a.HasHeader() && b.HasHeader());
    const BITMAPINFOHEADER ha = a.GetHeader(), hb = b.GetHeader();
    EXPECT_EQ(std::memcmp(&ha, &hb, sizeof ha), 0);
    ASSERT_EQ(a.GetColorCount(), b.GetColorCount());
    EXPECT_EQ(BytesOf(a.GetColorTable(), 4 * a.GetColorCount()), BytesOf(b.GetColorTable(), 4 * b.GetColorCount()));
    ASSERT_EQ(a.GetImageSize(), b.GetImageSize());
    EXPECT_EQ(BytesOf(a.GetBits(), a.GetImageSize()), BytesOf(b.GetBits(), b.GetImageSize()));
}

const BmpSpec kRoundTrips[] = {
    {.bitCount = 1}, {.bitCount = 4}, {.bitCount = 8}, {.bitCount = 8, .clrUsed = 20},
    {.width = 3, .height = 2, .bitCount = 24}, {.bitCount = 32}, {.bitCount = 16},
    {.bitCount = 16, .masks = {0xF800, 0x07E0, 0x001F}}, {.bitCount = 32, .clrUsed = 2, .masks = {0xFF, 0xFF00, 0xFF0000}},
};

TEST_F(DibTest, WriteThenReadGivesTheSameImageWithAZeroFileSize) {
    for (const BmpSpec& spec : kRoundTrips) {
        SCOPED_TRACE(testing::Message() << spec.bitCount << " bits, colours used " << spec.clrUsed);
        CDib original;
        ASSERT_TRUE(ReadFile(original, Save(MakeBitmapFile(spec))));
        const std::string path = dir.file("written.bmp");
        {
            CFile out;
            ASSERT_TRUE(out.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
            ASSERT_TRUE(original.Write(&out));
        }
        const std::vector<BYTE> written = ReadBytes(path);
        EXPECT_EQ(U32At(written, 2), 0u);  // the file-size field
        EXPECT_EQ(U32At(written, kAtPixelOffset), 54u + 4 * spec.masks.size() + 4 * original.GetColorCount());
        std::vector<BYTE> built = MakeBitmapFile(spec);  // masks, table and pixels as they came
        PutU32At(built, 2, 0);
        EXPECT_EQ(written, built);
        CDib back;
        ASSERT_TRUE(ReadFile(back, path));
        ExpectSameImage(original, back);
    }
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DibTest, ReadHonoursThePixelOffsetAndLeavesTheFileAfterTheImage) {
    // A gap of 6 bytes between the colour table and the pixels, then a second image.
    std::vector<BYTE> first = MakeBitmapFile({.bitCount = 4});
    const size_t table = 54 + 16 * 4;
    first.insert(first.begin() + static_cast<long>(table), 6, 0xEE);
    PutU32At(first, kAtPixelOffset, static_cast<DWORD>(table + 6));
    std::vector<BYTE> both = first;
    const std::vector<BYTE> second = MakeBitmapFile({.bitCount = 24});
    both.insert(both.end(), second.begin(), second.end());
    CFile file;
    ASSERT_TRUE(file.Open(Save(both).c_str(), CFile::modeRead));
    CDib a, b;
    ASSERT_TRUE(a.Read(&file));
    EXPECT_EQ(BytesOf(a.GetBits(), a.GetImageSize()), PixelsOf({.bitCount = 4}));
    ASSERT_TRUE(b.Read(&file));
    EXPECT_EQ(b.GetHeader().biBitCount, 24);
}

TEST_F(DibTest, WriteReportsAFileError) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile())));
    CFile readOnly;
    ASSERT_TRUE(readOnly.Open(dir.file("image.bmp").c_str(), CFile::modeRead));
    EXPECT_FALSE(dib.Write(&readOnly));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"write error"});
    EXPECT_FALSE(CDib().Write(&readOnly));  // nothing to write
}

TEST_F(DibTest, SaveToMappedFileWritesTheTrueSizeAndAttachesTheFile) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile())));
    const std::string path = dir.file("mapped.bmp");
    ASSERT_TRUE(dib.SaveToMappedFile(path.c_str()));
    EXPECT_TRUE(dib.IsMapped());
    EXPECT_EQ(dib.GetImageSize(), 24u);
    EXPECT_EQ(BytesOf(dib.GetBits(), 24), PixelsOf({}));
    dib.GetBits()[0] = 0x5A;  // a change to the pixels is a change to the file
    dib.UnmapFile();
    std::vector<BYTE> expected = MakeBitmapFile();
    expected[54 + 1024] = 0x5A;
    EXPECT_EQ(ReadBytes(path), expected);  // true size in the file-size field, as built
}

TEST_F(DibTest, SaveToMappedFileThatCannotCreateLeavesTheObjectAlone) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile())));
    BYTE* bits = dib.GetBits();
    EXPECT_FALSE(dib.SaveToMappedFile(dir.file("no/such/folder.bmp").c_str()));
    EXPECT_EQ(dib.GetBits(), bits);
    EXPECT_FALSE(dib.IsMapped());
    // A file another mapping holds exclusively cannot be created either.
    const std::string held = Save(MakeBitmapFile(), "held.bmp");
    CDib holder;
    ASSERT_TRUE(holder.MapFile(held.c_str()));
    EXPECT_FALSE(dib.SaveToMappedFile(held.c_str()));
    EXPECT_EQ(dib.GetBits(), bits);
    EXPECT_EQ(ReadBytes(held), MakeBitmapFile());  // the holder's file keeps its bytes
    EXPECT_FALSE(CDib().SaveToMappedFile(dir.file("empty.bmp").c_str()));
}

// Images that no bitmap file can hold are refused before anything is made at the path.
TEST_F(DibTest, SaveToMappedFileRefusesBeforeMakingAFile) {
    CDib noWidth(CSize(0, 5), 8);  // no pixel data to want, so only the header can refuse it
    CDib topDown(CSize(4, -4), 24);
    ASSERT_NE(topDown.MakeSection(nullptr), nullptr);
    for (CDib* dib : {&noWidth, &topDown}) {
        const std::string path = dir.file("refused.bmp");
        EXPECT_FALSE(dib->SaveToMappedFile(path.c_str()));
        EXPECT_FALSE(FileExists(path.c_str()));
        EXPECT_FALSE(dib->IsMapped());
        EXPECT_FALSE(dib->LastFailure().empty());
    }
    EXPECT_TRUE(TakeMessages().empty());
}

// A file made but then not given its size (here the process may not write files that large)
// is removed again.
TEST_F(DibTest, SaveToMappedFileThatCannotGrowTheFileLeavesNone) {
    CDib dib;
    ASSERT_TRUE(ReadFile(dib, Save(MakeBitmapFile())));
    const std::string path = dir.file("too-large.bmp");
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL saved = dib.SaveToMappedFile(path.c_str());
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(FileExists(path.c_str()));
    EXPECT_EQ(dib.LastFailure(), "the file cannot be made as large as the image");
    EXPECT_EQ(BytesOf(dib.GetBits(), 24), PixelsOf({}));
}

TEST_F(DibTest, MapFileSharesThePixelsWithTheFile) {
    const std::string path = Save(MakeBitmapFile({.bitCount = 24}));
    CDib dib;
    ASSERT_TRUE(dib.MapFile(path.c_str()));
    EXPECT_EQ(dib.GetExtent(), CSize(5, 3));
    EXPECT_EQ(BytesOf(dib.GetBits(), dib.GetImageSize()), PixelsOf({.bitCount = 24}));
    // Not shared: a second mapping of the file is refused until the first is released.
    CDib second;
    EXPECT_FALSE(second.MapFile(path.c_str(), TRUE));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Empty bitmap file"});
    dib.GetBits()[1] = 0xA5;
    dib.Clear();
    EXPECT_EQ(ReadBytes(path)[54 + 1], 0xA5);
    EXPECT_TRUE(second.MapFile(path.c_str(), TRUE));
}

}  // namespace
