#include "platform/gdi/TextCodec.h"

namespace {

// Length of the UTF-8 sequence that `lead` opens, or 0 when it opens none.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// The character of a complete sequence, or 0 for an overlong, surrogate or too-large one.
char32_t DecodeSequence(std::string_view s) {
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    char32_t c = static_cast<unsigned char>(s[0]) & (0x7F >> s.size());
    for (size_t i = 1; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < kMinimum[s.size()] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return c;
}

}  // namespace

std::u32string DecodeText(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t length = SequenceLength(lead);
        if (length > 0 && i + length <= bytes.size()) {
            if (const char32_t c = DecodeSequence(bytes.substr(i, length))) {
                out.push_back(c);
                i += length;
                continue;
            }
        }
        out.push_back(lead);
        ++i;
    }
    return out;
}
