// The bitsliced kernel on plain 64-bit words: 64 blocks a batch, any processor.
#include <bit>
#include <cstdint>
#include <cstring>

#include "crypt/BitslicedDes.h"
#include "crypt/SecureWipe.h"

namespace {

struct Ops64 {
    using V = std::uint64_t;
    static constexpr int kLanes = 1;
    static constexpr bool kTernary = false;
    // The kernel reads each block as a little-endian word, whatever the host's byte order.
    static V Little(V v) {
        if constexpr (std::endian::native == std::endian::big) return __builtin_bswap64(v);
        return v;
    }
    static V Load(const BYTE* p) {
        V v;
        std::memcpy(&v, p, sizeof v);
        return Little(v);
    }
    static void Store(BYTE* p, V v) {
        v = Little(v);
        std::memcpy(p, &v, sizeof v);
    }
    static V Broadcast(std::uint64_t m) { return m; }
    static V Zero() { return 0; }
    static V Ones() { return ~V{0}; }
    static V And(V a, V b) { return a & b; }
    static V Or(V a, V b) { return a | b; }
    static V Xor(V a, V b) { return a ^ b; }
    static V Not(V a) { return ~a; }
    static V AndNot(V a, V b) { return ~a & b; }
    static V ShiftLeft(V a, int n) { return a << n; }
    static V ShiftRight(V a, int n) { return a >> n; }
};

#include "crypt/DesCircuits.inc"
#include "crypt/BitslicedKernel.inc"

}  // namespace

void bitsliced::CryptPortable(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt) {
    BitslicedDes<Ops64>::Crypt(in, out, batches, keys, decrypt);
}
