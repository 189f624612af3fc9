// Logs stamped past 2038-01-19 03:14:07 UTC, where a signed 32-bit time_t ends, up to the last
// second the files' unsigned 32-bit seconds hold: each is written to its month's file, listed
// by month and day, and its start and end shown and exported as written. On 32-bit ARM this
// needs the build's 64-bit time_t.
#include <gtest/gtest.h>

#include <string>

#include "log2/LogFileFormat.h"
#include "log2/LogMonthData.h"
#include "log2/LogTextRenderer.h"
#include "module/MonthFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

struct Stamp {
    DWORD seconds;
    const char* text;  // as the log's text shows it, in UTC
};

const Stamp kStamps[] = {
    {2147483647u, "2038-01-19 03:14:07"},
    {2147483648u, "2038-01-19 03:14:08"},
    {2214475200u, "2040-03-04 12:00:00"},
    {4294967295u, "2106-02-07 06:28:15"},
};

class LogTimeRange : public testing::TestWithParam<Stamp> {};

TEST_P(LogTimeRange, ALogIsWrittenListedShownAndExported) {
    const Stamp stamp = GetParam();
    const std::string text = stamp.text, label = text.substr(0, 7), day = text.substr(8, 2);
    ScopedTz tz("UTC");
    TempDir dir;
    ScopedClock clock(0);
    const CTime at(stamp.seconds);
    const DWORD handle = WriteTestLog(dir.path(), clock, {.start = at, .name = "late", .end = at});
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(handle, stamp.seconds);

    const auto months = FindMonthFiles(dir.path(), logfile::kExtension);
    ASSERT_EQ(months.size(), 1u);
    EXPECT_EQ(months[0].label, label);
    const std::optional<YearMonth> month = ParseMonthLabel(label);
    ASSERT_TRUE(month);
    CLogMonthData data;
    ASSERT_EQ(data.Load(dir.path(), *month), LogMonthLoad::loaded);
    const auto days = data.Days();
    ASSERT_EQ(days.size(), 1u);
    EXPECT_EQ(days[0].label, day);
    EXPECT_TRUE(days[0].Holds(stamp.seconds));
    EXPECT_EQ(data.GroupDay(days[0]).logs[0].size(), 1u);

    CLogTextRenderer renderer;
    const std::string block = renderer.LogTextBlock(data, *data.FindLog(handle));
    const std::string shown = text + "\r\n";
    const size_t start = block.find(shown);
    ASSERT_NE(start, std::string::npos) << block;
    EXPECT_NE(block.find(shown, start + shown.size()), std::string::npos) << "the end time: " << block;
    EXPECT_EQ(renderer.MonthText(data), block + std::string(kExportSeparator));
}

INSTANTIATE_TEST_SUITE_P(PastSigned32Bits, LogTimeRange, testing::ValuesIn(kStamps),
                         [](const testing::TestParamInfo<Stamp>& info) { return "At" + std::to_string(info.param.seconds); });

}  // namespace
