#include "tools/dvrkit/JsonText.h"

#include <array>
#include <charconv>

#include "module/Utf8.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The bytes that go out as they are: ASCII but the controls, '"' and '\\'.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int byte = 0x20; byte < 0x80; ++byte) plain[static_cast<std::size_t>(byte)] = byte != '"' && byte != '\\';
    return plain;
}();

void AppendEscape(std::string& out, unsigned char byte) {
    switch (byte) {
        case '"': out += "\\\""; return;
        case '\\': out += "\\\\"; return;
        case '\b': out += "\\b"; return;
        case '\t': out += "\\t"; return;
        case '\n': out += "\\n"; return;
        case '\f': out += "\\f"; return;
        case '\r': out += "\\r"; return;
        default: {
            constexpr char kHex[] = "0123456789abcdef";
            const char escaped[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 15]};
            out.append(escaped, sizeof escaped);
        }
    }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    size_t at = 0;
    while (at < text.size()) {
        size_t run = at;
        while (run < text.size() && kPlain[static_cast<unsigned char>(text[run])]) ++run;
        out.append(text, at, run - at);
        if (run == text.size()) break;
        at = run;
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            AppendEscape(out, byte);
            ++at;
            continue;
        }
        // A character cut short is replaced once, and the byte that broke it is read again on
        // its own, as a decoder that meets it there would.
        const Utf8Start start = ReadUtf8Start(text.substr(at));
        if (start.length != 0 && start.valid == start.length) out.append(text, at, start.length);
        else out += kReplacement;
        at += start.valid ? start.valid : 1;
    }
    out += '"';
}

void AppendJsonNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}
