// Entry times worked out once a minute against strftime for every second looked at: across clock
// changes, in a zone whose offset had seconds, and in UTC.
#include <gtest/gtest.h>

#include <ctime>

#include "tests/support/TempDir.h"
#include "tools/dvrkit/TimeText.h"

namespace {

std::string Strftime(std::uint32_t time, bool utc, const char* format) {
    const time_t t = time;
    tm fields{};
    if (utc) gmtime_r(&t, &fields);
    else localtime_r(&t, &fields);
    char text[40];
    strftime(text, sizeof text, format, &fields);
    return text;
}

std::string IsoByStrftime(std::uint32_t time, bool utc) {
    std::string iso = Strftime(time, utc, "%Y-%m-%dT%H:%M:%S%z");
    return iso.insert(iso.size() - 2, ":");
}

struct Span {
    const char* zone;
    std::uint32_t from;  // seconds looked at: from - 3 hours to from + 3 hours, in steps of 7
};

TEST(TimeText, AgreesWithStrftimeAroundOffsetChanges) {
    const Span spans[] = {
        {"Europe/Berlin", 1111885200},   // 2005-03-27 01:00 UTC: summer time begins
        {"Europe/Berlin", 1130634000},   // 2005-10-30 01:00 UTC: summer time ends
        {"Africa/Monrovia", 63593070},   // 1972-01-07: the offset of -0:44:30 ends
        {"Australia/Lord_Howe", 1111849200},  // 2005-03-26 15:00 UTC: a change of half an hour
        {"UTC", 4294967295u - 3 * 3600},      // the last second the files hold
    };
    for (const Span& span : spans) {
        ScopedTz tz(span.zone);
        for (const bool utc : {false, true}) {
            TimeTexts texts(utc);
            for (std::int64_t t = std::int64_t{span.from} - 3 * 3600; t <= std::int64_t{span.from} + 3 * 3600; t += 7) {
                const auto time = static_cast<std::uint32_t>(t);
                std::string plain, iso;
                texts.AppendPlain(plain, time);
                texts.AppendIso(iso, time);
                ASSERT_EQ(plain, Strftime(time, utc, "%Y-%m-%d %H:%M:%S")) << span.zone << " " << t;
                ASSERT_EQ(iso, IsoByStrftime(time, utc)) << span.zone << " " << t;
            }
        }
    }
}

}  // namespace
