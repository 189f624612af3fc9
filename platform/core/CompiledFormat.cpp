#include "platform/core/CompiledFormat.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kConversions = "diuxXocs";

// One conversion through the C library; a text longer than the stack buffer is formatted twice.
template <typename Value>
void AppendThroughLibrary(std::string& out, const std::string& conversion, Value value) {
    char small[512];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int needed = std::snprintf(small, sizeof small, conversion.c_str(), value);
    if (needed < 0) return;
    if (static_cast<size_t>(needed) < sizeof small) {
        out.append(small, static_cast<size_t>(needed));
        return;
    }
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(needed) + 1);
    std::snprintf(out.data() + at, static_cast<size_t>(needed) + 1, conversion.c_str(), value);
#pragma GCC diagnostic pop
    out.resize(at + static_cast<size_t>(needed));
}

template <typename Number>
void AppendNumber(std::string& out, Number value, int base, bool upper) {
    char digits[16];
    char* end = std::to_chars(digits, digits + sizeof digits, value, base).ptr;
    if (upper)
        for (char* p = digits; p != end; ++p) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    out.append(digits, end);
}

}  // namespace

CompiledFormat::CompiledFormat(std::string_view format) {
    std::string literal;
    const auto endLiteral = [&] {
        if (!literal.empty()) m_pieces.push_back({std::move(literal), 0, false});
        literal.clear();
    };
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            literal += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            literal += '%';
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < format.size() && (format[end] == '\0' || !std::strchr(kConversions, format[end]))) ++end;
        if (end == format.size()) {  // ends inside a conversion: no signature has it, kept as text
            literal.append(format.substr(i));
            break;
        }
        endLiteral();
        const std::string_view conversion = format.substr(i, end + 1 - i);
        m_pieces.push_back({std::string(conversion), format[end], conversion.size() == 2});
        i = end;
    }
    endLiteral();
}

void CompiledFormat::AppendConversion(std::string& out, const Piece& piece, const Arg& arg) {
    if ((piece.conversion == 's') != arg.IsText()) return;  // not the signature's argument
    if (arg.IsText()) {
        if (piece.plain) out += arg.text;
        else AppendThroughLibrary(out, piece.text, arg.text);
        return;
    }
    const DWORD number = arg.number;
    if (!piece.plain) return AppendThroughLibrary(out, piece.text, number);
    switch (piece.conversion) {
        case 'd': case 'i': return AppendNumber(out, static_cast<std::int32_t>(number), 10, false);
        case 'u': return AppendNumber(out, number, 10, false);
        case 'x': return AppendNumber(out, number, 16, false);
        case 'X': return AppendNumber(out, number, 16, true);
        default: return AppendThroughLibrary(out, piece.text, number);
    }
}

void CompiledFormat::AppendTo(std::string& out, std::span<const Arg> args) const {
    size_t next = 0;
    for (const Piece& piece : m_pieces) {
        if (!piece.conversion) out += piece.text;
        else if (next < args.size()) AppendConversion(out, piece, args[next++]);
    }
}
