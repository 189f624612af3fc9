#include "tools/dvrkit/JsonText.h"

#include <charconv>

#include "module/Utf8.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Whether a byte below 0x80 goes out as it is.
bool Plain(unsigned char byte) { return byte >= 0x20 && byte != '"' && byte != '\\'; }

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
        while (run < text.size() && static_cast<unsigned char>(text[run]) < 0x80 && Plain(static_cast<unsigned char>(text[run])))
            ++run;
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
