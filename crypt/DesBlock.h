#pragma once
// The DES data path of FIPS 46 (initial permutation, 16 Feistel rounds, final permutation)
// under the system's round keys, in electronic codebook mode.
//
// Byte order: an 8-byte block is the 64-bit DES input in memory order, byte 0 holding DES bits
// 1 to 8 with bit 1 its most significant bit; the output is stored the same way.
#include <cstddef>

#include "crypt/KeySchedule.h"

constexpr std::size_t kBlockSize = 8;

void psen_encrypt_block(const BYTE* in, BYTE* out, const RoundKeys& keys);
void psen_decrypt_block(const BYTE* in, BYTE* out, const RoundKeys& keys);

// Transform `blocks` consecutive blocks; `in` and `out` may be the same buffer. These go through
// the fastest kernel the processor has (CipherDispatch.h); the scalar ones block by block.
void EncryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys);
void DecryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys);
void ScalarEncryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys);
void ScalarDecryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys);
