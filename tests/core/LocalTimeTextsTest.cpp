#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "platform/core/LocalTimeTexts.h"
#include "tests/support/TempDir.h"

namespace {

std::string Strftime(DWORD time, const char* format) {
    const std::time_t t = time;
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, format, &tm));
}

}  // namespace

// One object's texts of times that walk across offset changes, in zones whose offsets are not
// whole hours or whose changes are not one hour, agree with strftime's of localtime_r, second by
// second around each change and minute by minute elsewhere.
TEST(LocalTimeTexts, AgreeWithTheCLibraryAcrossOffsetChanges) {
    struct Case {
        const char* zone;
        DWORD around;  // a change of the zone's offset
    };
    const std::vector<Case> cases = {
        {"UTC", 0},
        {"Europe/Berlin", 1111885200},        // 2005-03-27 01:00 UTC, spring forward
        {"Europe/Berlin", 1130634000},        // 2005-10-30 01:00 UTC, back
        {"America/St_Johns", 1130639460},     // -02:30 to -03:30 at 00:01 local, off the hour
        {"Australia/Lord_Howe", 1111849200},  // a change of half an hour
        {"Asia/Kathmandu", 504901800},        // +05:30 to +05:45 (1986)
        {"Africa/Monrovia", 63593070},        // -00:44:30 to UTC (1972): an offset in seconds
    };
    for (const Case& c : cases) {
        ScopedTz tz(c.zone);
        LocalTimeTexts texts;
        char text[LocalTimeTexts::kSize];
        const DWORD from = c.around > 2 * 86400 ? c.around - 2 * 86400 : 0;
        for (DWORD t = from; t < c.around + 2 * 86400; t += (t + 7200 > c.around && t < c.around + 7200) ? 1 : 59) {
            ASSERT_EQ(std::string(text, texts.DateTime(text, t)), Strftime(t, "%Y-%m-%d %H:%M:%S")) << c.zone << " " << t;
            ASSERT_EQ(std::string(text, texts.DateHour(text, t)), Strftime(t, "%Y-%m-%d %H Hour")) << c.zone << " " << t;
        }
        // Times far apart, in both directions, as a month's logs and their records' times come.
        for (const DWORD t : {4294967295u, 1u, 2000000000u, c.around, 951782400u /* 2000-02-29 */})
            EXPECT_EQ(std::string(text, texts.DateTime(text, t)), Strftime(t, "%Y-%m-%d %H:%M:%S")) << c.zone << " " << t;
    }
}
