#pragma once
// Chunks: up to one container chunk of bytes through the block function in electronic
// codebook order, block i of the input to bytes 8i..8i+7 of the output.
#include <cstddef>

#include "crypt/KeySchedule.h"

// Encrypts `length` bytes, the last partial block padded with zero bytes; writes
// ceil(length / 8) * 8 bytes to `out` and returns that count.
std::size_t psen_encrypt_chunk(const BYTE* in, BYTE* out, const RoundKeys& keys, std::size_t length);

// Decrypts `cipherLength` bytes (a multiple of 8) but stores only the first `keep` of the
// plaintext (keep <= cipherLength, keep > cipherLength - 8), so that the pad bytes of a final
// block never reach a buffer sized for the plaintext alone. Returns false when those pad bytes
// do not decrypt to the zeros that encryption put there.
bool psen_decrypt_chunk(const BYTE* in, BYTE* out, const RoundKeys& keys, std::size_t cipherLength, std::size_t keep);
