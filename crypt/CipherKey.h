#pragma once
// The key material of one operation: the key words, the round keys and the key check value,
// all derived from the key string. Whoever holds one wipes it with SecureWipeObject when done.
#include "crypt/KeyExpansion.h"
#include "crypt/KeySchedule.h"
#include "platform/core/Types.h"

struct CipherKey {
    KeyWords words;
    RoundKeys roundKeys;
    DWORD checkValue = 0;
};

// Derives the key material from a NUL-terminated key string of at least one byte, straight
// into `out` so that no copy of it is left behind on the stack.
void MakeCipherKey(const BYTE* key, CipherKey& out);

// The key check value of a set of round keys: the CRC-32 of a 128-byte buffer in which each of
// the first 16 round-key bytes (pairs 0 and 1, k0 then k1, each least significant byte first)
// is followed by itself plus 1, ..., plus 7, modulo 256.
DWORD KeyCheckValue(const RoundKeys& keys);
