#pragma once
// Bitsliced kernels of the DES data path: many blocks at once, one bit of every block per
// machine word, in three widths. A kernel takes one full batch; CipherDispatch feeds them.
#include <cstddef>
#include <cstdint>

#include "crypt/KeySchedule.h"

namespace bitsliced {

// The round keys spread into one 64-bit mask per key bit (all zeros or all ones), round by
// round in the order of the direction: 16 rounds of 48 masks, FIPS 46 subkey bit order.
struct KeyMasks {
    std::uint64_t masks[16 * 48];
};
void MakeKeyMasks(const RoundKeys& keys, bool decrypt, KeyMasks& out);

constexpr std::size_t kPortableBlocks = 64;
constexpr std::size_t kAvx2Blocks = 256;
constexpr std::size_t kAvx512Blocks = 512;

// One batch of the named number of 8-byte blocks; `in` and `out` may be the same buffer. The
// AVX2 and AVX-512 kernels may run only where the processor has those instructions.
void CryptPortable(const BYTE* in, BYTE* out, const KeyMasks& keys);
void CryptAvx2(const BYTE* in, BYTE* out, const KeyMasks& keys);
void CryptAvx512(const BYTE* in, BYTE* out, const KeyMasks& keys);

}  // namespace bitsliced
