#include "mail/QuotedPrintable.h"

namespace {

// An encoded line holds at most 76 characters, the "=" of a soft break included.
constexpr std::size_t kMaxEncodedLine = 76;
constexpr char kHex[] = "0123456789ABCDEF";

void EncodeLine(std::string_view line, std::string& out) {
    std::size_t column = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const bool blank = c == ' ' || c == '\t';
        const bool literal = (c >= 33 && c <= 126 && c != '=') || (blank && i + 1 < line.size());
        const std::size_t width = literal ? 1 : 3;
        if (column + width > kMaxEncodedLine - 1) {
            out += "=\r\n";
            column = 0;
        }
        if (literal) {
            out += static_cast<char>(c);
        } else {
            out += '=';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
        column += width;
    }
}

}  // namespace

std::string QuotedPrintable(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (;;) {
        const std::size_t end = text.find("\r\n");
        EncodeLine(text.substr(0, end), out);
        if (end == std::string_view::npos) return out;
        out += "\r\n";
        text.remove_prefix(end + 2);
    }
}
