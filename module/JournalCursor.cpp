#include "module/JournalCursor.h"

#include <charconv>
#include <cstdio>

namespace {

constexpr std::string_view kVersion = "v1";

// Takes "KEY=VALUE" up to the next ';' (or the end) off the front of `rest`.
std::optional<std::string_view> TakeField(std::string_view& rest, std::string_view key) {
    if (rest.substr(0, key.size() + 1) != std::string(key) + "=") return std::nullopt;
    rest.remove_prefix(key.size() + 1);
    const std::size_t end = rest.find(';');
    const std::string_view value = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return value;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text, int base = 10) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

template <typename Number>
std::optional<Number> TakeNumber(std::string_view& rest, std::string_view key, int base = 10) {
    const auto text = TakeField(rest, key);
    return text ? ParseNumber<Number>(*text, base) : std::nullopt;
}

// "YYYYMM.EXT": digits, a dot and three further characters, none of them a separator.
bool IsMonthFileName(std::string_view name) {
    if (name.size() != 10 || name[6] != '.') return false;
    for (std::size_t i = 0; i < 6; ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return name.find_first_of("/; \t\r\n") == std::string_view::npos;
}

// "200502.log@OFFSET".
std::optional<JournalCursor::Detour> TakeDetour(std::string_view& rest) {
    const auto text = TakeField(rest, "d");
    const std::size_t at = text ? text->find('@') : std::string_view::npos;
    if (at == std::string_view::npos || !IsMonthFileName(text->substr(0, at))) return std::nullopt;
    const auto from = ParseNumber<std::uint64_t>(text->substr(at + 1));
    if (!from) return std::nullopt;
    return JournalCursor::Detour{std::string(text->substr(0, at)), *from};
}

}  // namespace

std::string JournalCursor::Text() const {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    std::string text = std::string(kVersion) + ";f=" + file + ";o=" + std::to_string(offset) +
                       ";t=" + std::to_string(time) + ";h=" + hex + ";n=" + std::to_string(ordinal);
    if (sortedEnd) text += ";e=" + std::to_string(*sortedEnd);
    if (detour) text += ";d=" + detour->file + "@" + std::to_string(detour->from);
    return text;
}

std::optional<JournalCursor> JournalCursor::Parse(std::string_view text) {
    if (text.substr(0, kVersion.size() + 1) != std::string(kVersion) + ";") return std::nullopt;
    std::string_view rest = text.substr(kVersion.size() + 1);
    const auto file = TakeField(rest, "f");
    const auto offset = TakeNumber<std::uint64_t>(rest, "o");
    const auto time = TakeNumber<DWORD>(rest, "t");
    const auto hash = TakeNumber<std::uint64_t>(rest, "h", 16);
    const auto ordinal = TakeNumber<std::uint64_t>(rest, "n");
    if (!file || !IsMonthFileName(*file) || !offset || !time || !hash || !ordinal) return std::nullopt;
    JournalCursor cursor{std::string(*file), *offset, *time, *hash, *ordinal, {}, {}};
    // The fields a later version added: a cursor without them resumes as before.
    if (!rest.empty() && !(cursor.sortedEnd = TakeNumber<std::uint64_t>(rest, "e"))) return std::nullopt;
    if (!rest.empty() && !(cursor.detour = TakeDetour(rest))) return std::nullopt;
    if (!rest.empty() || (cursor.detour && cursor.detour->file.substr(7) != cursor.file.substr(7))) return std::nullopt;
    return cursor;
}

std::uint64_t UnitHash(std::span<const std::uint8_t> bytes, std::size_t skipOffset, std::size_t skipSize) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t byte = i - skipOffset < skipSize ? 0 : bytes[i];
        hash = (hash ^ byte) * 0x100000001b3ull;
    }
    return hash;
}
