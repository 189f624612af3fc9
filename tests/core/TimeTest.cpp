#include <gtest/gtest.h>

#include "platform/core/CString.h"
#include "platform/core/CTime.h"
#include "tests/support/TempDir.h"

TEST(CTime, LocalDatesFollowTheZoneIncludingDaylightSaving) {
    ScopedTz tz("Europe/Berlin");
    const CTime winter(2005, 1, 15, 12, 0, 0);
    const CTime summer(2005, 7, 15, 12, 0, 0);
    EXPECT_EQ(winter.GetTime(), 1105786800u);  // 11:00 UTC
    EXPECT_EQ(summer.GetTime(), 1121421600u);  // 10:00 UTC
    EXPECT_EQ(summer.Format("%Y-%m-%d %H:%M:%S"), "2005-07-15 12:00:00");
    EXPECT_EQ(CTime(2006, 1, 1, 0, 0, 0).GetDayOfWeek(), 1) << "1 January 2006 was a Sunday";
    // The first hour after the spring change: 02:30 does not exist and becomes 03:30.
    EXPECT_EQ(CTime(2005, 3, 27, 2, 30, 0).GetHour(), 3);
}

TEST(CTime, TheInstalledClockIsTheCurrentTime) {
    {
        ScopedClock clock(1234567890);
        EXPECT_EQ(CTime::GetCurrentTime().GetTime(), 1234567890u);
    }
    EXPECT_GT(CTime::GetCurrentTime().GetTime(), 1600000000u);
}

TEST(CString, FormatsAndLoadsHostStrings) {
    CString s;
    s.Format("%s-%04d", "x", 42);
    EXPECT_EQ(s, "x-0042");
    EXPECT_TRUE(s.LoadString(7440));
    EXPECT_FALSE(s.IsEmpty());
    EXPECT_FALSE(s.LoadString(1)) << "an identifier no module holds";
    EXPECT_TRUE(s.IsEmpty()) << "a missing identifier gives an empty text";
}
