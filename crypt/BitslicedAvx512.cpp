// The bitsliced kernel on 512-bit AVX-512 vectors: 512 blocks a batch, the S-boxes in
// three-input logic instructions. This file alone is compiled for AVX-512 (see CMakeLists.txt);
// it is called only after the processor was found to have it, and it holds nothing but code in
// an unnamed namespace and its one entry, so no AVX-512 code can stand in for a shared inline
// function of another file.
#include <immintrin.h>

#include <cstdint>

#include "crypt/BitslicedDes.h"
#include "crypt/SecureWipe.h"

namespace {

struct OpsAvx512 {
    using V = __m512i;
    static constexpr int kLanes = 8;
    static constexpr bool kTernary = true;
    static V Load(const BYTE* p) { return _mm512_loadu_si512(p); }
    static void Store(BYTE* p, V v) { _mm512_storeu_si512(p, v); }
    static V Broadcast(std::uint64_t m) { return _mm512_set1_epi64(static_cast<long long>(m)); }
    static V Zero() { return _mm512_setzero_si512(); }
    static V Ones() { return _mm512_set1_epi64(-1); }
    static V And(V a, V b) { return _mm512_and_si512(a, b); }
    static V Or(V a, V b) { return _mm512_or_si512(a, b); }
    static V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
    static V Not(V a) { return _mm512_ternarylogic_epi64(a, a, a, 0x55); }
    static V AndNot(V a, V b) { return _mm512_andnot_si512(a, b); }
    // Shifts as vector arithmetic: the shift intrinsics start from an undefined vector, which
    // this compiler reports as uninitialised.
    using Words = unsigned long long __attribute__((vector_size(64)));
    static V ShiftLeft(V a, int n) { return reinterpret_cast<V>(reinterpret_cast<Words>(a) << n); }
    static V ShiftRight(V a, int n) { return reinterpret_cast<V>(reinterpret_cast<Words>(a) >> n); }
    template <int kImm>
    static V Ternary(V a, V b, V c) {
        return _mm512_ternarylogic_epi64(a, b, c, kImm);
    }
};

#include "crypt/DesCircuits.inc"
#include "crypt/BitslicedKernel.inc"

}  // namespace

void bitsliced::CryptAvx512(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt) {
    BitslicedDes<OpsAvx512>::Crypt(in, out, batches, keys, decrypt);
}
