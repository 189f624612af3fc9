#include <gtest/gtest.h>

#include "log2/CLogManager2.h"
#include "log2/LogFileReader.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

// A month file of two logs (formats 0/1/2 in the first, one format-2 record in the second),
// which each test then damages in one way.
class LogReader : public testing::Test {
protected:
    LogReader() : tz("UTC"), clock(kStart) {
        CLogManager2 manager;  // one writer: the second log's handle is one past the first's
        manager.Init(dir.path().c_str());
        const CTime t(kStart);
        WriteTestLog(manager, clock,
                     {.start = t, .name = "one",
                      .records = {{1, 1, 0, 1, 2, 3, 4}, {1, 2, 1, 1, 2, 3, 4}, {1, 3, 2, 1, 2, 3, 4, "t1", "t2"}},
                      .end = t, .result = 1});
        WriteTestLog(manager, clock,
                     {.start = t, .type = 2, .name = "two", .records = {{2, 1, 2, 9, LOG_VALUE_NONE, 0, 0, "x"}},
                      .end = t, .result = 1});
        bytes = ReadBytes(dir.file("200504.log"));
    }

    void SetByte(size_t at, std::uint8_t value) { bytes.at(at) = value; }
    void ShrinkSize(size_t by) { bytes.resize(bytes.size() - by); }
    LogFileContents Parse() const { return ParseLogFile(bytes); }

    static constexpr DWORD kStart = 1112436000;  // 2005-04-02 10:00 UTC
    static constexpr size_t kSecondBlock = 5 + 145;
    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
    std::vector<std::uint8_t> bytes;
};

}  // namespace

TEST_F(LogReader, ReadsWhatTheWriterWrote) {
    const auto c = Parse();
    EXPECT_FALSE(c.damage);
    ASSERT_EQ(c.blocks.size(), 2u);
    EXPECT_EQ(c.blocks[1].offset, kSecondBlock);
    const auto& r = c.blocks[0].records;
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].value1, 0u) << "a key-only record reads back without numbers";
    EXPECT_EQ(r[1].value4, 4u);
    EXPECT_STREQ(r[2].text2, "t2");
    EXPECT_EQ(r[2].handle, 0u);
}

TEST_F(LogReader, ABadHeaderMarkYieldsNothing) {
    SetByte(4, 0x0B);
    const auto c = Parse();
    EXPECT_TRUE(c.blocks.empty());
    ASSERT_TRUE(c.damage);
    EXPECT_EQ(c.damage->offset, 4u);
}

TEST_F(LogReader, ADamagedSecondBlockKeepsTheFirst) {
    SetByte(bytes.size() - 1, 0);  // the second block's tail mark
    const auto c = Parse();
    ASSERT_EQ(c.blocks.size(), 1u);
    ASSERT_TRUE(c.damage);
    EXPECT_EQ(c.damage->offset, bytes.size() - 1);
    EXPECT_EQ(c.damage->reason, "block 2 has a bad tail mark");
}

TEST_F(LogReader, TruncationAnywhereNeverShowsACutBlock) {
    const auto whole = bytes;
    for (size_t length = 0; length < whole.size(); ++length) {
        bytes.assign(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const auto c = Parse();
        ASSERT_TRUE(c.damage) << "length " << length;
        EXPECT_EQ(c.blocks.size(), length < kSecondBlock ? 0u : 1u) << "length " << length;
    }
}

TEST_F(LogReader, HostileCountsAreBoundedByTheBytesPresent) {
    bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0xFF;              // 4 billion blocks
    bytes[5 + 8] = bytes[5 + 9] = bytes[5 + 10] = bytes[5 + 11] = 0xFF;  // 4 billion records
    const auto c = Parse();
    EXPECT_TRUE(c.blocks.empty());
    ASSERT_TRUE(c.damage);
}

TEST_F(LogReader, AFormatByteChangedToTwoRunsPastTheEndSafely) {
    SetByte(kSecondBlock + 36 + 3, 0);  // the second block's only record now claims 4 bytes
    const auto c = Parse();
    ASSERT_EQ(c.blocks.size(), 1u);
    EXPECT_TRUE(c.damage) << "its tail mark is then read from inside the record";
}

TEST_F(LogReader, BytesAfterTheCountedBlocksAreReportedNotRead) {
    bytes[0] = 1;
    const auto c = Parse();
    EXPECT_EQ(c.blocks.size(), 1u);
    EXPECT_FALSE(c.damage);
    EXPECT_EQ(c.trailingBytes, bytes.size() - kSecondBlock);
}
