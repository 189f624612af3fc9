// The block function. Halves are kept in the working layout described in DesTables.h.
//
// Initial permutation. Loaded little-endian into one 64-bit word, DES input bit n (0-based)
// sits at position 8q + (7 - c) where q = n / 8 and c = n % 8. IP followed by the bit reversal
// of each half is then a pure permutation of the six position bits (with complements), which
// five exchanges of masked bits perform; afterwards the low word holds the right half and the
// high word the left half, each with DES bit k at bit k - 1. One rotation by one bit per half
// gives the working layout. The final permutation runs the same exchanges in reverse order.
#include "crypt/DesBlock.h"

#include <bit>
#include <cstdint>

#include "crypt/DesTables.h"
#include "platform/core/LittleEndian.h"

namespace {

struct Exchange {
    int shift;
    std::uint64_t mask;
};

constexpr Exchange kInitialPermutation[] = {
    {1, 0x2222222222222222},  {9, 0x0055005500550055},  {2, 0x0C0C0C0C0C0C0C0C},
    {18, 0x0000333300003333}, {36, 0x000000000F0F0F0F},
};

inline std::uint64_t Apply(std::uint64_t x, const Exchange& e) {
    const std::uint64_t t = ((x >> e.shift) ^ x) & e.mask;
    return x ^ t ^ (t << e.shift);
}

struct Halves {
    DWORD left, right;
};

inline Halves Load(const BYTE* in) {
    std::uint64_t x = GetU64(in);
    for (const Exchange& e : kInitialPermutation) x = Apply(x, e);
    return {std::rotl(static_cast<DWORD>(x >> 32), 1), std::rotl(static_cast<DWORD>(x), 1)};
}

// Stores the pre-output (R16, L16): R16 takes the place of the left half.
inline void Store(DWORD l16, DWORD r16, BYTE* out) {
    std::uint64_t x = (std::uint64_t{std::rotr(r16, 1)} << 32) | std::rotr(l16, 1);
    for (int i = static_cast<int>(std::size(kInitialPermutation)) - 1; i >= 0; --i) x = Apply(x, kInitialPermutation[i]);
    PutU64(out, x);
}

// f(R) XOR-ed into the other half: byte i of R ^ k0 meets S-box 2i + 1, byte i of
// rotr(R, 4) ^ k1 meets S-box 2i + 2.
inline DWORD F(DWORD r, DWORD k0, DWORD k1) {
    const DWORD u = r ^ k0;
    const DWORD t = std::rotr(r, 4) ^ k1;
    const auto& sp = kSpTables;
    return sp[0][u & 0xFF] ^ sp[2][(u >> 8) & 0xFF] ^ sp[4][(u >> 16) & 0xFF] ^ sp[6][u >> 24] ^
           sp[1][t & 0xFF] ^ sp[3][(t >> 8) & 0xFF] ^ sp[5][(t >> 16) & 0xFF] ^ sp[7][t >> 24];
}

// Key pair of round `round` (0-based) in the order of the direction.
template <bool kDecrypt>
inline const DWORD* PairFor(const RoundKeys& keys, int round) {
    return keys.k + 2 * (kDecrypt ? kRounds - 1 - round : round);
}

// Two independent blocks go through the rounds side by side: the round function is a chain
// of dependent loads, and interleaving lets the processor overlap the two chains.
template <bool kDecrypt, int kLanes>
inline void Crypt(const BYTE* in, BYTE* out, const RoundKeys& keys) {
    Halves h[kLanes];
    for (int i = 0; i < kLanes; ++i) h[i] = Load(in + kBlockSize * i);
    for (int round = 0; round < kRounds; round += 2) {
        const DWORD* a = PairFor<kDecrypt>(keys, round);
        const DWORD* b = PairFor<kDecrypt>(keys, round + 1);
        for (int i = 0; i < kLanes; ++i) h[i].left ^= F(h[i].right, a[0], a[1]);
        for (int i = 0; i < kLanes; ++i) h[i].right ^= F(h[i].left, b[0], b[1]);
    }
    for (int i = 0; i < kLanes; ++i) Store(h[i].left, h[i].right, out + kBlockSize * i);
}

template <bool kDecrypt>
void CryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys) {
    constexpr int kLanes = 2;
    for (; blocks >= kLanes; blocks -= kLanes, in += kLanes * kBlockSize, out += kLanes * kBlockSize)
        Crypt<kDecrypt, kLanes>(in, out, keys);
    if (blocks) Crypt<kDecrypt, 1>(in, out, keys);
}

}  // namespace

void psen_encrypt_block(const BYTE* in, BYTE* out, const RoundKeys& keys) { Crypt<false, 1>(in, out, keys); }
void psen_decrypt_block(const BYTE* in, BYTE* out, const RoundKeys& keys) { Crypt<true, 1>(in, out, keys); }

void ScalarEncryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys) {
    CryptBlocks<false>(in, out, blocks, keys);
}
void ScalarDecryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys) {
    CryptBlocks<true>(in, out, blocks, keys);
}
