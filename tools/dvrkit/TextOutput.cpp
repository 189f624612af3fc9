#include "tools/dvrkit/TextOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "module/Utf8.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    constexpr char kHex[] = "0123456789abcdef";
    const char escaped[] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    out.append(escaped, sizeof escaped);
}

bool IsControl(std::string_view sequence) {
    const auto first = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) return first < 0x20 || first == 0x7F;
    return first == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;  // U+0080 to U+009F
}

// Whether a byte below 0x80 goes out as it is wherever it stands.
bool PlainAscii(unsigned char byte, std::string_view alsoEscaped) {
    return byte >= 0x20 && byte < 0x7F && (alsoEscaped.empty() || alsoEscaped.find(static_cast<char>(byte)) == std::string_view::npos);
}

void AppendEscapedText(std::string& out, std::string_view text, std::string_view alsoEscaped) {
    while (!text.empty()) {
        size_t run = 0;
        while (run < text.size() && PlainAscii(static_cast<unsigned char>(text[run]), alsoEscaped)) ++run;
        out.append(text.substr(0, run));
        text.remove_prefix(run);
        if (text.empty()) return;
        const size_t length = Utf8CharacterLength(text);
        const std::string_view sequence = text.substr(0, length ? length : 1);
        if (alsoEscaped.empty() && text.starts_with("\r\n")) {
            out += "\r\n";  // a line end as the host's texts write it
            text.remove_prefix(2);
            continue;
        }
        if (length == 1 && alsoEscaped.find(text[0]) != std::string_view::npos) {
            out += '\\';
            out += text[0] == '\n' ? 'n' : text[0];
        } else if (length == 0 || (IsControl(sequence) && text[0] != '\n')) {
            for (const char c : sequence) AppendEscaped(out, static_cast<unsigned char>(c));
        } else {
            out += sequence;
        }
        text.remove_prefix(sequence.size());
    }
}

std::string Escaped(std::string_view text, std::string_view alsoEscaped) {
    std::string out;
    out.reserve(text.size());
    AppendEscapedText(out, text, alsoEscaped);
    return out;
}

}  // namespace

std::string ShownText(std::string_view text) { return Escaped(text, ""); }

void AppendShownText(std::string& out, std::string_view text) { AppendEscapedText(out, text, ""); }

std::string QuoteText(std::string_view text) { return "\"" + Escaped(text, "\"\\\n") + "\""; }

std::string LocalTimeText(std::uint32_t time) { return CTime(time).Format("%Y-%m-%d %H:%M:%S").str(); }

void BufferStandardOutput() {
    static char buffer[1 << 20];  // the C library would ignore the size without a buffer of ours
    if (!::isatty(STDOUT_FILENO)) std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

void CheckStandardOutput() {
    // std::cout writes through stdout (synchronised with stdio), so this flushes both.
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && !std::ferror(stdout) && std::cout.good()) return;
    throw CommandError{std::string("cannot write standard output") + (error ? ": " + std::string(std::strerror(error)) : "")};
}

void PrintJson(const nlohmann::json& value, std::ostream& out) {
    out << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}
