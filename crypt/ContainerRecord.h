#pragma once
// One chunk record of the container: the ciphertext of one chunk, then its CRC-32 when chunk
// CRCs are on. Shared by the file and the memory containers.
#include <cstddef>

#include "crypt/KeySchedule.h"

// Encrypts `length` plaintext bytes (at most one chunk) into the record at `out`; returns the
// record's size.
std::size_t SealRecord(const BYTE* plain, std::size_t length, BYTE* out, const RoundKeys& keys, bool crc);

// Checks the CRC of the record at `record` (cipherLength ciphertext bytes, then the CRC when
// `crc`) and, if it matches, decrypts it and stores the first `keep` plaintext bytes at `plain`.
// Returns false, leaving nothing of the record's plaintext at `plain`, when the CRC differs or
// the pad bytes of the final block do not decrypt to zeros.
bool OpenRecord(const BYTE* record, std::size_t cipherLength, bool crc, BYTE* plain, std::size_t keep,
                const RoundKeys& keys);
