#pragma once
// Key expansion: a key string becomes the two 32-bit key words that the round-key schedule
// consumes.
#include "platform/core/Types.h"

struct KeyWords {
    DWORD w0 = 0;
    DWORD w1 = 0;
};

// `key` is a NUL-terminated string of at least one byte; only its first 64 bytes are read.
// The expansion makes 64 characters from the key bytes (cycling through a short key), chaining
// each through KEY_MIX_TABLE and the previous character into the alphabet, then packs 16 of
// them into the two words.
KeyWords psen_expand_key(const BYTE* key);
