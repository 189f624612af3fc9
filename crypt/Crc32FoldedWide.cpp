// CRC-32 by carry-less folding on 512-bit vectors (VPCLMULQDQ): each vector holds four 128-bit
// lanes that fold exactly as in Crc32Folded.cpp. Four vectors, 256 bytes, are folded forward
// by 2048 bits per step; then they are folded into one vector, its four lanes into one, and the
// 128-bit end of Crc32Folded.cpp finishes. The constants are x^(D+32) mod P and x^(D-32) mod P
// for a fold over D bits, bit-reflected as in Crc32Folded.cpp (whose D = 512 and D = 128 pairs
// are the published ones); scripts/crc32_fold_constants.py computes them.
//
// This file alone is compiled for AVX-512 and VPCLMULQDQ (see CMakeLists.txt); it is called only
// after the processor was found to have them and holds no shared inline function.
#include <immintrin.h>

#include "crypt/Crc32Kernels.h"

namespace {

alignas(16) constexpr std::uint64_t kFold2048[2] = {0x011542778A, 0x01322D1430};
alignas(16) constexpr std::uint64_t kFold512[2] = {0x0154442BD4, 0x01C6E41596};
alignas(16) constexpr std::uint64_t kFold384[2] = {0x003DB1ECDC, 0x0174359406};
alignas(16) constexpr std::uint64_t kFold256[2] = {0x00F1DA05AA, 0x015A546366};
alignas(16) constexpr std::uint64_t kFold128[2] = {0x01751997D0, 0x00CCAA009E};

__m512i Broadcast(const std::uint64_t (&k)[2]) {
    const auto lo = static_cast<long long>(k[0]), hi = static_cast<long long>(k[1]);
    return _mm512_set_epi64(hi, lo, hi, lo, hi, lo, hi, lo);
}

__m512i Fold(__m512i lanes, __m512i k, __m512i next) {
    const __m512i lo = _mm512_clmulepi64_epi128(lanes, k, 0x00);
    const __m512i hi = _mm512_clmulepi64_epi128(lanes, k, 0x11);
    return _mm512_ternarylogic_epi64(lo, hi, next, 0x96);  // lo ^ hi ^ next
}

__m128i Fold(__m128i lane, const std::uint64_t (&k)[2], __m128i next) {
    const __m128i kk = _mm_load_si128(reinterpret_cast<const __m128i*>(k));
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(lane, kk, 0x00), _mm_clmulepi64_si128(lane, kk, 0x11)),
                         next);
}

}  // namespace

bool crc32kernel::WideAvailable() {
    return FoldedAvailable() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("vpclmulqdq");
}

DWORD crc32kernel::FoldedWide(DWORD reg, const BYTE* data, std::size_t length) {
    const __m512i start = _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg)));
    __m512i x0 = _mm512_xor_si512(_mm512_loadu_si512(data), start);
    __m512i x1 = _mm512_loadu_si512(data + 64);
    __m512i x2 = _mm512_loadu_si512(data + 128);
    __m512i x3 = _mm512_loadu_si512(data + 192);
    data += 256;
    length -= 256;

    const __m512i k2048 = Broadcast(kFold2048);
    for (; length >= 256; data += 256, length -= 256) {
        x0 = Fold(x0, k2048, _mm512_loadu_si512(data));
        x1 = Fold(x1, k2048, _mm512_loadu_si512(data + 64));
        x2 = Fold(x2, k2048, _mm512_loadu_si512(data + 128));
        x3 = Fold(x3, k2048, _mm512_loadu_si512(data + 192));
    }
    const __m512i k512 = Broadcast(kFold512);
    x0 = Fold(x0, k512, x1);
    x0 = Fold(x0, k512, x2);
    x0 = Fold(x0, k512, x3);
    for (; length >= 64; data += 64, length -= 64) x0 = Fold(x0, k512, _mm512_loadu_si512(data));

    // Lane 0 is the oldest: lanes 0, 1 and 2 fold forward onto lane 3 by 384, 256 and 128 bits.
    // (The lanes go through memory: this compiler's lane-extract intrinsic trips its own
    // uninitialised-value warning.)
    alignas(64) __m128i lanes[4];
    _mm512_store_si512(lanes, x0);
    __m128i x = lanes[3];
    x = Fold(lanes[0], kFold384, x);
    x = Fold(lanes[1], kFold256, x);
    x = Fold(lanes[2], kFold128, x);
    return FoldTail(x, data, length);
}
