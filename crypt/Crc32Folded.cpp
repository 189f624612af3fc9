// CRC-32 by folding with carry-less multiplication (the method of Intel's paper "Fast CRC
// Computation for Generic Polynomials Using PCLMULQDQ Instruction", in the bit-reflected
// domain). Four 128-bit lanes are folded forward by 512 bits per step, then into one lane, then
// reduced 128 -> 64 -> 32 bits with a Barrett reduction. The constants are x^k mod P(x) for the
// reflected IEEE 802.3 polynomial, as listed in the paper:
//   k1 = x^(4*128+32) mod P, k2 = x^(4*128-32) mod P   (fold by 512 bits)
//   k3 = x^(128+32) mod P,   k4 = x^(128-32) mod P     (fold by 128 bits)
//   k5 = x^64 mod P                                    (128 -> 64 bits)
//   P' = P(x) itself, mu = x^64 / P(x)                 (Barrett reduction)
#include "crypt/Crc32FoldConstants.h"
#include "crypt/Crc32Kernels.h"

namespace {

using crc32kernel::kK1K2, crc32kernel::kK3K4, crc32kernel::kK5K0, crc32kernel::kPolyMu;

[[gnu::target("pclmul,sse4.1")]] inline __m128i Fold(__m128i lane, __m128i k, __m128i next) {
    const __m128i lo = _mm_clmulepi64_si128(lane, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(lane, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(hi, lo), next);
}

[[gnu::target("pclmul,sse4.1")]] inline __m128i Load(const BYTE* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

}  // namespace

bool crc32kernel::FoldedAvailable() { return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1"); }

[[gnu::target("pclmul,sse4.1")]] DWORD crc32kernel::Folded(DWORD reg, const BYTE* data, std::size_t length) {
    __m128i x1 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x2 = Load(data + 16), x3 = Load(data + 32), x4 = Load(data + 48);
    data += 64;
    length -= 64;

    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(kK1K2));
    for (; length >= 64; data += 64, length -= 64) {
        x1 = Fold(x1, k, Load(data));
        x2 = Fold(x2, k, Load(data + 16));
        x3 = Fold(x3, k, Load(data + 32));
        x4 = Fold(x4, k, Load(data + 48));
    }

    k = _mm_load_si128(reinterpret_cast<const __m128i*>(kK3K4));
    x1 = Fold(x1, k, x2);
    x1 = Fold(x1, k, x3);
    x1 = Fold(x1, k, x4);
    return FoldTail(x1, data, length);
}

[[gnu::target("pclmul,sse4.1")]] DWORD crc32kernel::FoldTail(__m128i x1, const BYTE* data, std::size_t length) {
    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(kK3K4));
    __m128i x2;
    for (; length >= 16; data += 16, length -= 16) x1 = Fold(x1, k, Load(data));

    // 128 -> 64 bits.
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);
    x2 = _mm_clmulepi64_si128(x1, k, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kK5K0));
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k, 0x00), x2);

    // Barrett reduction to 32 bits.
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(kPolyMu));
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), k, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, low32), k, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return static_cast<DWORD>(_mm_extract_epi32(x1, 1));
}
