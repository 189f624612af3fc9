#include "crypt/BitslicedDes.h"

// Subkey bit e (0-based, FIPS 46 order) of a round: bits 0..5 of byte e / 12 of k0 for the first
// six of each twelve, of k1 for the other six (see KeySchedule.h).
void bitsliced::MakeKeyMasks(const RoundKeys& keys, bool decrypt, KeyMasks& out) {
    for (int round = 0; round < kRounds; ++round) {
        const DWORD* pair = keys.k + 2 * (decrypt ? kRounds - 1 - round : round);
        for (int e = 0; e < 48; ++e) {
            const int within = e % 12;
            const DWORD word = pair[within < 6 ? 0 : 1];
            const int bit = 8 * (e / 12) + within % 6;
            out.masks[48 * round + e] = (word >> bit) & 1 ? ~std::uint64_t{0} : 0;
        }
    }
}
