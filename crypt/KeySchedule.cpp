#include "crypt/KeySchedule.h"

namespace {

// One exchange of masked bits: the bits of `a` selected by `mask << shift` trade places with
// the bits of `b` selected by `mask`.
void Exchange(DWORD& a, DWORD& b, int shift, DWORD mask) {
    const DWORD t = ((a >> shift) ^ b) & mask;
    b ^= t;
    a ^= t << shift;
}

// The same within one word.
void ExchangeWithin(DWORD& a, int shift, DWORD mask) {
    const DWORD t = ((a >> shift) ^ a) & mask;
    a ^= t ^ (t << shift);
}

constexpr DWORD B(DWORD w, int i) { return (w >> (8 * i)) & 0xFF; }

DWORD RotateHalf(DWORD h, bool twoBits) {
    // A right rotation of the 28-bit half; bits 28 to 31 are left as they fall and cleared at
    // the start of the next round (the lookups never read them).
    return twoBits ? (h << 26) | (h >> 2) : (h << 27) | (h >> 1);
}

}  // namespace

void psen_key_schedule(KeyWords words, RoundKeys& keys) {
    DWORD c = words.w0, d = words.w1;
    Exchange(d, c, 4, 0x0F0F0F0F);
    Exchange(c, d, 4, 0x01010101);
    ExchangeWithin(c, 9, 0x00550055);
    ExchangeWithin(d, 9, 0x00550055);
    ExchangeWithin(c, 18, 0x00003333);
    ExchangeWithin(d, 18, 0x00003333);
    d = (d & 0xFF00FF00) | (B(d, 0) << 16) | B(d, 2);

    for (int r = 0; r < kRounds; ++r) {
        c &= 0x0FFFFFFF;
        d &= 0x0FFFFFFF;
        c = RotateHalf(c, SHIFT_SCHEDULE[r] == 1);
        d = RotateHalf(d, SHIFT_SCHEDULE[r] == 1);
        const DWORD s = RK_TABLE_A[B(c, 0) & 0x3F] | RK_TABLE_B[(B(c, 1) >> 1) & 0x3F] |
                        RK_TABLE_C[((B(c, 2) >> 1) & 0x20) | ((B(c, 2) >> 6) & 0x02) | (B(c, 2) & 0x1D)] |
                        RK_TABLE_D[((B(c, 0) >> 2) & 0x30) | ((B(c, 1) >> 7) & 0x01) | (B(c, 3) & 0x0E)];
        const DWORD t = RK_TABLE_E[B(d, 0) & 0x3F] | RK_TABLE_F[((B(d, 1) >> 6) & 0x02) | (B(d, 1) & 0x3D)] |
                        RK_TABLE_G[B(d, 2) & 0x3F] |
                        RK_TABLE_H[((B(d, 2) >> 2) & 0x30) | (B(d, 3) & 0x0D) | ((B(d, 0) >> 6) & 0x02)];
        keys.k[2 * r] = (t << 16) | (s & 0x0000FFFF);
        keys.k[2 * r + 1] = (s >> 16) | (t & 0xFFFF0000);
    }
}
