// A month file past 2 GiB, where a 32-bit file offset or length would wrap: the writer appends
// after its last record and the record is read back from there. It matters only where the C
// library's own types are 32 bits wide (32-bit ARM, built with _FILE_OFFSET_BITS=64), and is cheap
// only where the file system leaves the file's hole unstored: elsewhere it is skipped, saying why.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "event/CEventManager.h"
#include "event/EventFileReader.h"
#include "platform/core/CFile.h"
#include "tests/support/TempDir.h"

namespace {

// Whole records of zeros, which a writer takes as records without their mark, to just past 2 GiB.
constexpr std::uint64_t kHoleRecords = (std::uint64_t{1} << 31) / eventfile::kRecordSize + 1;
constexpr std::uint64_t kHoleBytes = kHoleRecords * eventfile::kRecordSize;

// Makes `path` a file of kHoleBytes zeros that takes no room; false where it would.
bool MakeSparseMonthFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    struct stat st {};
    const bool sparse = ::ftruncate(fd, static_cast<off_t>(kHoleBytes)) == 0 && ::fstat(fd, &st) == 0 &&
                        static_cast<std::uint64_t>(st.st_blocks) * 512 < kHoleBytes;
    ::close(fd);
    return sparse;
}

TEST(EventLargeFile, AnEventPastTwoGibibytesIsAppendedAndReadBack) {
    if (sizeof(long) >= 8) GTEST_SKIP() << "file offsets are 64 bits wide here whatever the build asks";
    ScopedTz tz("UTC");
    TempDir dir;
    const std::string month = dir.file("203801.evt");
    if (!MakeSparseMonthFile(month)) GTEST_SKIP() << "the file system here stores a file's holes";

    // Two events: the first after a scan of the whole file, the second after what the writer knows of it.
    const DWORD times[] = {2147483648u, 2147483649u};  // 2038-01-19 03:14:08 and :09 UTC
    CEventManager writer;
    writer.Init(dir.path().c_str());
    for (const DWORD time : times)
        ASSERT_EQ(writer.WriteEventLog(5, 2, 1, time, 1, "past 2 GiB"), 1) << writer.LastRefusal();

    CFile file;
    ASSERT_TRUE(file.Open(month.c_str(), CFile::modeRead | CFile::typeBinary));
    EXPECT_EQ(file.GetLength(), kHoleBytes + 2 * eventfile::kRecordSize);
    for (std::uint64_t i = 0; i < 2; ++i) {
        std::uint8_t bytes[eventfile::kRecordSize];
        ASSERT_EQ(file.ReadAt(kHoleBytes + i * eventfile::kRecordSize, bytes, sizeof bytes), sizeof bytes);
        const _EVENT_LOG_ event = eventfile::DecodeEvent(bytes);
        EXPECT_EQ(event.time, times[i]);
        EXPECT_EQ(event.channel, 5u);
        EXPECT_EQ(std::string(event.text), "past 2 GiB");
        EXPECT_EQ(event.mark, eventfile::kMark);
    }
}

}  // namespace
