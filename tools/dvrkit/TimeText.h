#pragma once
// Entry times as the journal prints them, in local time (TZ decides) or in UTC: "YYYY-MM-DD
// HH:MM:SS", and ISO 8601 with the zone's offset ("2005-04-02T09:00:00+02:00"). A month holds up
// to millions of entries, so the calendar fields are worked out once a minute, not per entry.
#include <cstdint>
#include <ctime>
#include <string>

class TimeTexts {
public:
    explicit TimeTexts(bool utc) : m_utc(utc) {}
    void AppendPlain(std::string& out, std::uint32_t time);
    void AppendIso(std::string& out, std::uint32_t time);

private:
    tm Fields(std::uint32_t time);
    tm Convert(std::int64_t time) const;

    bool m_utc;
    std::int64_t m_minute = -1;  // whose first second `m_start` holds
    bool m_steady = false;       // the zone's offset holds for the whole minute, at whole minutes
    tm m_start{};
};
