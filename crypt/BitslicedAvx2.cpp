// The bitsliced kernel on 256-bit AVX2 vectors: 256 blocks a batch. This file alone is compiled
// for AVX2 (see CMakeLists.txt); it is called only after the processor was found to have it, and
// it holds nothing but code in an unnamed namespace and its one entry, so no AVX2 code can stand
// in for a shared inline function of another file.
#include <immintrin.h>

#include <cstdint>

#include "crypt/BitslicedDes.h"
#include "crypt/SecureWipe.h"

namespace {

struct OpsAvx2 {
    using V = __m256i;
    static constexpr int kLanes = 4;
    static constexpr bool kTernary = false;
    static V Load(const BYTE* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
    static void Store(BYTE* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
    static V Broadcast(std::uint64_t m) { return _mm256_set1_epi64x(static_cast<long long>(m)); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Ones() { return _mm256_set1_epi64x(-1); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Not(V a) { return _mm256_xor_si256(a, Ones()); }
    static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
    static V ShiftLeft(V a, int n) { return _mm256_slli_epi64(a, n); }
    static V ShiftRight(V a, int n) { return _mm256_srli_epi64(a, n); }
};

#include "crypt/DesCircuits.inc"
#include "crypt/BitslicedKernel.inc"

}  // namespace

void bitsliced::CryptAvx2(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt) {
    BitslicedDes<OpsAvx2>::Crypt(in, out, batches, keys, decrypt);
}
