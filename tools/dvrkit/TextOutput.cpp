#include "tools/dvrkit/TextOutput.h"

#include <cstdio>

#include "platform/core/CTime.h"

std::string QuoteText(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string LocalTimeText(std::uint32_t time) { return CTime(time).Format("%Y-%m-%d %H:%M:%S").str(); }

void PrintJson(const nlohmann::json& value, std::ostream& out) {
    out << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}
