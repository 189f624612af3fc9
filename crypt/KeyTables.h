#pragma once
// The fixed tables of the key derivation: the key expansion's mixing table and alphabet, the
// rotation schedule and the eight round-key tables of the schedule. Every container depends on
// their values; none of them may ever change.
#include "platform/core/Types.h"

constexpr int kKeyCharacters = 64;  // characters made by the key expansion
constexpr int kRounds = 16;

extern const BYTE KEY_MIX_TABLE[64];
extern const char KEY_ALPHABET[64];      // 62 letters and digits, then two zero bytes
extern const BYTE SHIFT_SCHEDULE[kRounds];  // 0: rotate the key halves by one bit, 1: by two

extern const DWORD RK_TABLE_A[64];
extern const DWORD RK_TABLE_B[64];
extern const DWORD RK_TABLE_C[64];
extern const DWORD RK_TABLE_D[64];
extern const DWORD RK_TABLE_E[64];
extern const DWORD RK_TABLE_F[64];
extern const DWORD RK_TABLE_G[64];
extern const DWORD RK_TABLE_H[64];
