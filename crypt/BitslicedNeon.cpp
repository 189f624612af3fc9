// The bitsliced kernel on 128-bit NEON vectors: 128 blocks a batch. Built only for AArch64, where
// every processor has NEON, so it needs no run-time check.
#include <arm_neon.h>

#include <cstdint>

#include "crypt/BitslicedDes.h"
#include "crypt/SecureWipe.h"

namespace {

struct OpsNeon {
    using V = uint64x2_t;
    static constexpr int kLanes = 2;
    static constexpr bool kTernary = false;
    static V Load(const BYTE* p) { return vreinterpretq_u64_u8(vld1q_u8(p)); }
    static void Store(BYTE* p, V v) { vst1q_u8(p, vreinterpretq_u8_u64(v)); }
    static V Broadcast(std::uint64_t m) { return vdupq_n_u64(m); }
    static V Zero() { return vdupq_n_u64(0); }
    static V Ones() { return vdupq_n_u64(~std::uint64_t{0}); }
    static V And(V a, V b) { return vandq_u64(a, b); }
    static V Or(V a, V b) { return vorrq_u64(a, b); }
    static V Xor(V a, V b) { return veorq_u64(a, b); }
    static V Not(V a) { return vreinterpretq_u64_u8(vmvnq_u8(vreinterpretq_u8_u64(a))); }
    static V AndNot(V a, V b) { return vbicq_u64(b, a); }  // ~a & b
    // The count is a constant only after inlining, so the shifts take it as a vector.
    static V ShiftLeft(V a, int n) { return vshlq_u64(a, vdupq_n_s64(n)); }
    static V ShiftRight(V a, int n) { return vshlq_u64(a, vdupq_n_s64(-n)); }
};

#include "crypt/DesCircuits.inc"
#include "crypt/BitslicedKernel.inc"

}  // namespace

void bitsliced::CryptNeon(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt) {
    BitslicedDes<OpsNeon>::Crypt(in, out, batches, keys, decrypt);
}
