#include <gtest/gtest.h>

#include "module/LocalDay.h"
#include "tests/support/TempDir.h"

namespace {

struct Entry {
    DWORD start;
};

std::vector<std::string> Labels(const std::vector<LocalDay>& days) {
    std::vector<std::string> labels;
    for (const auto& d : days) labels.push_back(d.label);
    return labels;
}

}  // namespace

// A day runs from its midnight to the next, whatever its length in a zone with daylight saving.
TEST(LocalDay, EndsAtTheNextLocalMidnight) {
    ScopedTz tz("Europe/Berlin");
    struct Case {
        int month, day;
        DWORD hours;
    } cases[] = {{3, 26, 24}, {3, 27, 23}, {10, 30, 25}, {12, 31, 24}};
    for (const Case& c : cases) {
        const LocalDay day = DayStartingAt(LocalMidnight(2005, c.month, c.day));
        EXPECT_EQ(day.end - day.midnight, c.hours * 3600) << c.month << "-" << c.day;
        EXPECT_EQ(day.label, (c.day < 10 ? "0" : "") + std::to_string(c.day));
        EXPECT_TRUE(day.Holds(day.end - 1));
        EXPECT_FALSE(day.Holds(day.end));
        EXPECT_FALSE(day.Holds(day.midnight - 1));
    }
}

TEST(LocalDay, TheDayListHasEachDayOnceInTheEntriesOrder) {
    ScopedTz tz("Europe/Berlin");
    // Latest first: the 25-hour 30 October's last half hour, its first hour, then 5 and 3 October.
    const std::vector<Entry> entries = {{CTime(2005, 10, 31, 0, 10, 0).GetTime()},
                                        {CTime(2005, 10, 30, 23, 30, 0).GetTime()},
                                        {CTime(2005, 10, 30, 1, 0, 0).GetTime()},
                                        {CTime(2005, 10, 5, 9, 0, 0).GetTime()},
                                        {CTime(2005, 10, 3, 9, 0, 0).GetTime()},
                                        {CTime(2005, 10, 3, 8, 0, 0).GetTime()}};
    const auto days = DayList(entries, 2005, 10, [](const Entry& e) { return e.start; });
    EXPECT_EQ(Labels(days), (std::vector<std::string>{"31", "30", "05", "03"}));
    EXPECT_EQ(days[1].midnight, LocalMidnight(2005, 10, 30));
    EXPECT_TRUE(DayList(std::vector<Entry>{}, 2005, 10, [](const Entry& e) { return e.start; }).empty());
}

TEST(LocalDay, EntriesSortLatestFirstByTheirFirstWord) {
    const Entry early{100}, late{200};
    EXPECT_LT(DateSortArray(&late, &early), 0);
    EXPECT_GT(DateSortArray(&early, &late), 0);
    EXPECT_EQ(DateSortArray(&early, &early), 0);
}
