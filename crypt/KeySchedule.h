#pragma once
// The round-key schedule and the key state that one operation holds.
//
// Round keys. Pair r (words k0, k1) serves round r + 1. Byte i of k0 (i = 0..3, byte 0 least
// significant) holds the six subkey bits that meet S-box 2i + 1, byte i of k1 those of S-box
// 2i + 2. Within a byte, bit m (0 = least significant, m = 0..5) is the (m + 1)-th of the six
// bits in DES order, so in FIPS 46 numbering bit m of byte i of k0 is subkey bit 12i + 1 + m
// and bit m of byte i of k1 is subkey bit 12i + 7 + m. Bits 6 and 7 of every byte are unused
// and may be set.
#include "crypt/KeyExpansion.h"
#include "crypt/KeyTables.h"
#include "platform/core/Types.h"

constexpr int kRoundKeyWords = 2 * kRounds;

struct RoundKeys {
    DWORD k[kRoundKeyWords] = {};  // k0 of round 1, k1 of round 1, k0 of round 2, ...
};

// Derives the 16 round-key pairs from the key words into `keys`.
void psen_key_schedule(KeyWords words, RoundKeys& keys);
