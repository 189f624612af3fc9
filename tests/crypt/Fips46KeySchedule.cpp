#include "tests/crypt/Fips46KeySchedule.h"

namespace {

constexpr int kPc1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
                          35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
                          46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr int kPc2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                          26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                          51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr int kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

}  // namespace

std::array<Subkey, 16> Fips46Subkeys(const std::uint8_t key[8]) {
    auto keyBit = [&](int n) { return (key[(n - 1) / 8] >> (7 - (n - 1) % 8)) & 1; };
    std::uint8_t cd[56];
    for (int i = 0; i < 56; ++i) cd[i] = static_cast<std::uint8_t>(keyBit(kPc1[i]));
    std::array<Subkey, 16> subkeys{};
    for (int r = 0; r < 16; ++r) {
        for (int s = 0; s < kShifts[r]; ++s) {
            const std::uint8_t c0 = cd[0], d0 = cd[28];
            for (int i = 0; i < 27; ++i) {
                cd[i] = cd[i + 1];
                cd[28 + i] = cd[29 + i];
            }
            cd[27] = c0;
            cd[55] = d0;
        }
        for (int b = 0; b < 48; ++b) subkeys[r][b] = cd[kPc2[b] - 1];
    }
    return subkeys;
}

RoundKeys RoundKeysForDesKey(const std::uint8_t key[8]) {
    const auto subkeys = Fips46Subkeys(key);
    RoundKeys keys;
    for (int r = 0; r < 16; ++r) {
        DWORD k0 = 0, k1 = 0;
        for (int i = 0; i < 4; ++i) {
            for (int m = 0; m < 6; ++m) {
                k0 |= DWORD{subkeys[r][12 * i + m]} << (8 * i + m);      // subkey bit 12i + 1 + m
                k1 |= DWORD{subkeys[r][12 * i + 6 + m]} << (8 * i + m);  // subkey bit 12i + 7 + m
            }
        }
        keys.k[2 * r] = k0;
        keys.k[2 * r + 1] = k1;
    }
    return keys;
}
