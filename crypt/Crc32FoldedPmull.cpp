// CRC-32 by folding with PMULL, AArch64's carry-less multiplication: the steps and constants of
// Crc32Folded.cpp (four 128-bit lanes folded by 512 bits, then into one, reduced 128 -> 64 -> 32
// bits by Barrett), each x86 step written as its NEON equivalent. This file alone is compiled
// with the cryptography extension (see CMakeLists.txt); it is called only after the kernel
// reported PMULL.
#include <arm_neon.h>
#include <asm/hwcap.h>
#include <sys/auxv.h>

#include "crypt/Crc32FoldConstants.h"
#include "crypt/Crc32Kernels.h"

namespace {

using V = uint64x2_t;
using crc32kernel::kK1K2, crc32kernel::kK3K4, crc32kernel::kK5K0, crc32kernel::kPolyMu;

constexpr std::uint64_t kLow32 = 0xFFFFFFFF;

V Multiply(std::uint64_t a, std::uint64_t b) { return vreinterpretq_u64_p128(vmull_p64(a, b)); }

V Fold(V lane, const std::uint64_t (&k)[2], V next) {
    const V lo = Multiply(vgetq_lane_u64(lane, 0), k[0]);
    const V hi = Multiply(vgetq_lane_u64(lane, 1), k[1]);
    return veorq_u64(veorq_u64(lo, hi), next);
}

V Load(const BYTE* p) { return vreinterpretq_u64_u8(vld1q_u8(p)); }

// The whole register moved down by `kBytes` bytes, zeros coming in at the top.
template <int kBytes>
V ShiftDown(V x) {
    return vreinterpretq_u64_u8(vextq_u8(vreinterpretq_u8_u64(x), vdupq_n_u8(0), kBytes));
}

std::uint64_t Low(V x) { return vgetq_lane_u64(x, 0); }

DWORD Reduce(V x) {
    // 128 -> 64 bits.
    x = veorq_u64(ShiftDown<8>(x), Multiply(Low(x), kK3K4[1]));
    x = veorq_u64(ShiftDown<4>(x), Multiply(Low(x) & kLow32, kK5K0[0]));
    // Barrett reduction to 32 bits.
    V t = Multiply(Low(x) & kLow32, kPolyMu[1]);
    t = Multiply(Low(t) & kLow32, kPolyMu[0]);
    return vgetq_lane_u32(vreinterpretq_u32_u64(veorq_u64(x, t)), 1);
}

}  // namespace

bool crc32kernel::PmullAvailable() { return (getauxval(AT_HWCAP) & HWCAP_PMULL) != 0; }

DWORD crc32kernel::FoldedPmull(DWORD reg, const BYTE* data, std::size_t length) {
    V x1 = veorq_u64(Load(data), vsetq_lane_u64(reg, vdupq_n_u64(0), 0));
    V x2 = Load(data + 16), x3 = Load(data + 32), x4 = Load(data + 48);
    data += 64;
    length -= 64;
    for (; length >= 64; data += 64, length -= 64) {
        x1 = Fold(x1, kK1K2, Load(data));
        x2 = Fold(x2, kK1K2, Load(data + 16));
        x3 = Fold(x3, kK1K2, Load(data + 32));
        x4 = Fold(x4, kK1K2, Load(data + 48));
    }
    x1 = Fold(x1, kK3K4, x2);
    x1 = Fold(x1, kK3K4, x3);
    x1 = Fold(x1, kK3K4, x4);
    for (; length >= 16; data += 16, length -= 16) x1 = Fold(x1, kK3K4, Load(data));
    return Reduce(x1);
}
