#include "log1/EntryFileUnits.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "log1/EntryRecord.h"
#include "module/LocalDay.h"
#include "module/MonthFile.h"
#include "platform/core/CTime.h"
#include "platform/core/LittleEndian.h"

namespace {

// Zones differ by up to 26 hours: an entry saved while another zone was in force still counts as
// its month's.
constexpr std::int64_t kMonthSlack = 2 * 24 * 60 * 60;

// The month that "FOLDER/YYYYMM.log" names, within the times a file can hold.
std::optional<YearMonth> MonthOfPath(const std::string& path) {
    const std::string_view name = std::string_view(path).substr(path.rfind('/') + 1);
    if (name.size() != 10) return std::nullopt;
    const auto month = ParseMonthLabel(MonthLabelOfFile(name));
    if (!month || month->year < 1970 || month->year > 2105) return std::nullopt;
    return month;
}

std::string TimeFault(const std::uint8_t* bytes, std::size_t available, const std::string& path) {
    const auto month = MonthOfPath(path);
    if (!month || available < entryfile::kTimeOffset + 4) return {};
    const DWORD time = GetU32(bytes + entryfile::kTimeOffset);
    // The month after 2106-02 starts past what stored seconds hold.
    const std::int64_t first = LocalMidnightSeconds(month->year, month->month, 1);
    const std::int64_t next = LocalMidnightSeconds(month->year, month->month + 1, 1);
    if (time + kMonthSlack >= first && time < next + kMonthSlack) return {};
    return "its time " + std::to_string(time) + " (" + CTime(time).Format("%Y-%m-%d %H:%M:%S").str() +
           ") is not in the file's month " + MonthLabelOfFile(path.substr(path.rfind('/') + 1));
}

// A fixed text field as far as `available` bytes go: a text, a zero, then zeros only.
std::string FieldFault(const std::uint8_t* bytes, std::size_t available, std::size_t offset, std::size_t width,
                       const char* field) {
    if (available <= offset) return {};
    const std::uint8_t* begin = bytes + offset;
    const std::uint8_t* end = begin + std::min(width, available - offset);
    const std::uint8_t* zero = std::find(begin, end, 0);
    if (zero == end)
        return end - begin == static_cast<std::ptrdiff_t>(width) ? std::string("its ") + field + " has no terminating zero"
                                                                 : std::string();
    if (std::any_of(zero, end, [](std::uint8_t b) { return b != 0; }))
        return std::string("its ") + field + " field holds bytes after its text's end";
    return {};
}

std::string PaddingFault(const std::uint8_t* bytes, std::size_t available) {
    const std::size_t from = entryfile::kNameOffset + entryfile::kNameWidth;
    if (available <= from) return {};
    const std::uint8_t* end = bytes + std::min(available, from + entryfile::kPaddingSize);
    return std::any_of(bytes + from, end, [](std::uint8_t b) { return b != 0; }) ? "its padding is not zero"
                                                                                 : std::string();
}

// Why the first `available` bytes of a stored entry (all 168, or part of one) cannot be an entry
// of the month file at `path`; empty when they can.
std::string ImplausibleEntry(const std::uint8_t* bytes, std::size_t available, const std::string& path) {
    for (std::string why : {TimeFault(bytes, available, path),
                            FieldFault(bytes, available, entryfile::kNameOffset, entryfile::kNameWidth, "name"),
                            PaddingFault(bytes, available),
                            FieldFault(bytes, available, entryfile::kTextOffset, entryfile::kTextWidth, "text")})
        if (!why.empty()) return why;
    return {};
}

}  // namespace

MonthFileUnits EntryFileUnitsReading(OnWholeUnit onEntry) {
    return MonthFileUnits{
        "first-generation month file", "entry", 0, {}, {},
        [onEntry = std::move(onEntry)](ByteStream& in, const UnitAt& at) {
            return ReadFixedUnit(
                in, at, entryfile::kRecordSize,
                [](const std::uint8_t* bytes, std::size_t available, const UnitAt& unit) {
                    const std::string why = ImplausibleEntry(bytes, available, unit.path);
                    return why.empty() ? why : "it is not a first-generation month file: " + why;
                },
                onEntry);
        },
    };
}

const MonthFileUnits& EntryFileUnits() {
    static const MonthFileUnits units = EntryFileUnitsReading(nullptr);
    return units;
}
