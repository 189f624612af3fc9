#include <gtest/gtest.h>

#include <optional>

#include "module/MonthFile.h"
#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> Labels(const std::vector<MonthFileEntry>& months) {
    std::vector<std::string> labels;
    for (const auto& m : months) labels.push_back(m.label);
    return labels;
}

}  // namespace

TEST(MonthFileName, UsesTheLocalMonthOfTheTime) {
    ScopedTz tz("America/New_York");
    // 2005-05-01 02:00 UTC is still 30 April in New York.
    EXPECT_EQ(MonthFileName("/logs", 1114912800, "log"), "/logs/200504.log");
    EXPECT_EQ(MonthFileName("/logs", 1114912800 + 6 * 3600, "evt"), "/logs/200505.evt");
    EXPECT_EQ(MonthFilePath("/logs", {2005, 4}, "evt"), "/logs/200504.evt");
}

TEST(MonthLabel, ReadsBothWays) {
    ScopedTz tz("America/New_York");
    EXPECT_EQ(MonthLabelOfFile("200504.log"), "2005-04");
    EXPECT_EQ(MonthLabelOf(1114912800), "2005-04") << "the local month, as the file name takes it";
    EXPECT_EQ(ParseMonthLabel("2005-04"), (YearMonth{2005, 4}));
    EXPECT_EQ(ParseMonthLabel(MonthLabelOfFile("210601.evt")), (YearMonth{2106, 1}));
}

TEST(MonthLabel, RefusesWhatIsNotAMonthOrADay) {
    for (const char* text : {"", "2005", "2005-4", "2005-13", "2005-00", "2005-04-", "2005-04x", " 2005-04", "+005-04",
                             "2005/04", "2005--4"})
        EXPECT_FALSE(ParseMonthLabel(text)) << text;
    for (const char* text : {"2005-04", "2005-04-31", "2005-02-29", "2004-02-30", "1900-02-29", "2005-04-00",
                             "2005-04-3", "2005-04-031", "2005-04-03 "})
        EXPECT_FALSE(ParseDayLabel(text)) << text;
    const auto leapDay = ParseDayLabel("2004-02-29");
    ASSERT_TRUE(leapDay);
    EXPECT_EQ(leapDay->day, 29);
    EXPECT_TRUE(ParseDayLabel("2000-02-29")) << "a century divisible by 400 is a leap year";
}

TEST(MonthFiles, AreTheTenCharacterNamesOfTheExtensionNewestFirst) {
    TempDir dir;
    for (const char* name : {"200412.log", "200501.log", "notes.log", "200501.evt", "2005011.log", "200503.evt"})
        WriteBytes(dir.file(name), {});
    EXPECT_EQ(Labels(FindMonthFiles(dir.path(), "log")), (std::vector<std::string>{"2005-01", "2004-12"}));
    const auto events = FindMonthFiles(dir.path(), "evt");
    EXPECT_EQ(Labels(events), (std::vector<std::string>{"2005-03", "2005-01"}));
    EXPECT_EQ(events[0].name, "200503.evt");
    EXPECT_TRUE(FindMonthFiles(dir.file("missing"), "log").empty());
    EXPECT_TRUE(FindMonthFiles("", "log").empty()) << "no folder is not the root";
}

TEST(MonthFiles, DeletingTakesEveryFileOfTheExtensionAndNeedsAFolder) {
    TempDir dir;
    for (const char* name : {"200412.log", "notes.log", "200501.evt"}) WriteBytes(dir.file(name), {});
    EXPECT_FALSE(DeleteFilesWithExtension("", "log")) << "an unset folder deletes nothing, anywhere";
    EXPECT_TRUE(DeleteFilesWithExtension(dir.path(), "log"));
    EXPECT_FALSE(FileExists(dir.file("200412.log").c_str()));
    EXPECT_FALSE(FileExists(dir.file("notes.log").c_str())) << "not a month file, but a log file all the same";
    EXPECT_TRUE(FileExists(dir.file("200501.evt").c_str()));
    EXPECT_FALSE(DeleteFilesWithExtension(dir.path(), "log")) << "nothing left to find";
}

TEST(MonthFiles, SortNewestFirstByTheirFirstSixCharacters) {
    EXPECT_LT(FileSortArray("200501.log", "200412.log"), 0);
    EXPECT_GT(FileSortArray("200412.log", "200501.log"), 0);
    EXPECT_EQ(FileSortArray("200501.log", "200501.evt"), 0);
}
