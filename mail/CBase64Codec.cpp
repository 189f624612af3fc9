#include "mail/CBase64Codec.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include "mail/Base64Avx2.h"
#endif

namespace {

// Built once at load and never changed, so mail threads may read it at the same time.
const CString g_alphabet("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
constexpr char kPad = '=';

// The two characters of every 12-bit value, so that three bytes take two look-ups.
const std::array<char[2], 4096>& PairTable() {
    static const auto table = [] {
        std::array<char[2], 4096> pairs{};
        for (int v = 0; v < 4096; ++v) {
            pairs[v][0] = g_alphabet.GetAt(v >> 6);
            pairs[v][1] = g_alphabet.GetAt(v & 0x3F);
        }
        return pairs;
    }();
    return table;
}

// Decoding table entries besides the 6-bit values.
constexpr int kSkip = -1;     // the pad character
constexpr int kInvalid = -2;  // outside the alphabet

}  // namespace

void CBase64Codec::AppendEncoded(const BYTE* data, std::size_t count, std::string& out) {
    if (!data) return;
    const std::size_t start = out.size();
    out.resize(start + EncodedSize(count));
    EncodeTo(data, count, out.data() + start);
}

char* CBase64Codec::EncodeTo(const BYTE* data, std::size_t count, char* p) {
    const auto& pairs = PairTable();
#if defined(__x86_64__)
    std::size_t i = Base64Avx2Available() ? EncodeBase64Avx2(data, count, p) : 0;
#else
    std::size_t i = 0;
#endif
    // Two groups of three bytes at a time, read with one load while eight bytes remain.
    for (; i + 8 <= count; i += 6, p += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, data + i, 8);
        if constexpr (std::endian::native == std::endian::little) bytes = __builtin_bswap64(bytes);
        const auto first = static_cast<DWORD>(bytes >> 40);
        const auto second = static_cast<DWORD>(bytes >> 16) & 0xFFFFFF;
        std::memcpy(p, pairs[first >> 12], 2);
        std::memcpy(p + 2, pairs[first & 0xFFF], 2);
        std::memcpy(p + 4, pairs[second >> 12], 2);
        std::memcpy(p + 6, pairs[second & 0xFFF], 2);
    }
    // Whole groups of three bytes give four characters each.
    for (; i + 3 <= count; i += 3, p += 4) {
        const DWORD group = DWORD(data[i]) << 16 | DWORD(data[i + 1]) << 8 | data[i + 2];
        std::memcpy(p, pairs[group >> 12], 2);
        std::memcpy(p + 2, pairs[group & 0xFFF], 2);
    }
    // The last one or two bytes: their bits fill the top of the 6-bit values, zero bits below,
    // and "=" pads the group to four characters.
    m_accumulator = 0;
    m_bitCount = 0;
    for (; i < count; ++i) {
        m_accumulator = m_accumulator << 8 | data[i];
        m_bitCount += 8;
    }
    if (m_bitCount == 0) return p;
    const char* alphabet = g_alphabet.c_str();
    m_accumulator <<= 24 - m_bitCount;
    *p++ = alphabet[m_accumulator >> 18];
    *p++ = alphabet[m_accumulator >> 12 & 0x3F];
    *p++ = m_bitCount == 16 ? alphabet[m_accumulator >> 6 & 0x3F] : kPad;
    *p++ = kPad;
    m_bitCount = 0;
    return p;
}

CString CBase64Codec::Encode(const BYTE* data, int count) {
    m_input = data;
    m_inputLength = count;
    std::string text;
    if (data && count > 0) AppendEncoded(data, static_cast<std::size_t>(count), text);
    return CString(std::move(text));
}

int CBase64Codec::Decode(const char* text, BYTE* out) {
    if (!out || !text || !*text) return 0;
    std::array<int, 128> table;
    table.fill(kInvalid);
    for (int p = 0; p < 64; ++p) table[static_cast<unsigned char>(g_alphabet.GetAt(p))] = p;
    table[kPad] = kSkip;

    const std::size_t length = std::strlen(text);
    std::memset(out, 0, length + 1);
    m_bitCount = 0;
    m_accumulator = 0;
    int written = 0;
    for (const char* c = text; *c; ++c) {
        // Characters are looked up without their top bit, as the table was designed.
        const int value = table[static_cast<unsigned char>(*c) & 0x7F];
        if (value == kInvalid) return 0;
        if (value == kSkip) continue;
        m_accumulator = m_accumulator << 6 | static_cast<DWORD>(value);
        m_bitCount += 6;
        while (m_bitCount > 7) {
            out[written++] = static_cast<BYTE>(m_accumulator >> (m_bitCount - 8));
            m_bitCount -= 8;
        }
    }
    return written;
}
