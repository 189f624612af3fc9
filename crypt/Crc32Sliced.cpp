// Slicing-by-8: eight 256-entry tables let the loop fold eight input bytes per step with eight
// independent lookups instead of a chain of eight dependent ones. Table k holds the CRC register
// after a byte followed by k zero bytes, so the eight lookups of one step are simply XORed.
#include <array>
#include <cstdint>

#include "crypt/Crc32Kernels.h"
#include "platform/core/LittleEndian.h"

namespace {

constexpr DWORD kPolynomial = 0xEDB88320u;  // reflected IEEE 802.3 polynomial
constexpr int kSlices = 8;

using CrcTables = std::array<std::array<DWORD, 256>, kSlices>;

constexpr CrcTables MakeTables() {
    CrcTables t{};
    for (DWORD b = 0; b < 256; ++b) {
        DWORD c = b;
        for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ ((c & 1) ? kPolynomial : 0);
        t[0][b] = c;
    }
    for (int k = 1; k < kSlices; ++k)
        for (int b = 0; b < 256; ++b) t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF];
    return t;
}

constexpr CrcTables kTables = MakeTables();
static_assert(kTables[0][1] == 0x77073096u, "the first entry of the standard CRC-32 table");

}  // namespace

DWORD crc32kernel::Sliced(DWORD c, const BYTE* data, std::size_t length) {
    while (length >= kSlices) {
        const std::uint64_t v = GetU64(data) ^ c;  // the eight bytes as one little-endian word
        c = kTables[7][v & 0xFF] ^ kTables[6][(v >> 8) & 0xFF] ^ kTables[5][(v >> 16) & 0xFF] ^
            kTables[4][(v >> 24) & 0xFF] ^ kTables[3][(v >> 32) & 0xFF] ^ kTables[2][(v >> 40) & 0xFF] ^
            kTables[1][(v >> 48) & 0xFF] ^ kTables[0][v >> 56];
        data += kSlices;
        length -= kSlices;
    }
    while (length--) c = (c >> 8) ^ kTables[0][(c ^ *data++) & 0xFF];
    return c;
}
