#include "mail/Base64Avx2.h"

#include <immintrin.h>

bool Base64Avx2Available() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

namespace {

// The 6-bit values of 24 bytes, one per byte: each 128-bit lane takes 12 input bytes, spreads
// every 3 of them over 4 bytes, and moves the four 6-bit fields into place with two multiplies.
__attribute__((target("avx2"))) __m256i SixBitValues(const BYTE* data) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 12));
    __m256i in = _mm256_set_m128i(high, low);
    in = _mm256_shuffle_epi8(in, _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10,  //
                                                  1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10));
    const __m256i t0 = _mm256_and_si256(in, _mm256_set1_epi32(0x0FC0FC00));
    const __m256i t1 = _mm256_mulhi_epu16(t0, _mm256_set1_epi32(0x04000040));
    const __m256i t2 = _mm256_and_si256(in, _mm256_set1_epi32(0x003F03F0));
    const __m256i t3 = _mm256_mullo_epi16(t2, _mm256_set1_epi32(0x01000010));
    return _mm256_or_si256(t1, t3);
}

// The alphabet's character of each 6-bit value: the value plus an offset that depends only on
// its range (A-Z, a-z, 0-9, "+", "/"), the range found by a saturating subtraction and a compare.
__attribute__((target("avx2"))) __m256i Characters(__m256i values) {
    __m256i range = _mm256_subs_epu8(values, _mm256_set1_epi8(51));
    const __m256i upper = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), values);
    range = _mm256_or_si256(range, _mm256_and_si256(upper, _mm256_set1_epi8(13)));
    const __m256i offsets = _mm256_setr_epi8(
        'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
        '+' - 62, '/' - 63, 'A', 0, 0,  //
        'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
        '+' - 62, '/' - 63, 'A', 0, 0);
    return _mm256_add_epi8(values, _mm256_shuffle_epi8(offsets, range));
}

}  // namespace

__attribute__((target("avx2"))) std::size_t EncodeBase64Avx2(const BYTE* data, std::size_t count, char*& out) {
    std::size_t i = 0;
    for (; i + 28 <= count; i += 24, out += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), Characters(SixBitValues(data + i)));
    return i;
}
