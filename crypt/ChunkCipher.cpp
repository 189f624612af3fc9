#include "crypt/ChunkCipher.h"

#include <cstring>

#include "crypt/DesBlock.h"
#include "crypt/SecureWipe.h"

// Whole blocks go straight between the caller's buffers; only a partial block passes through
// an 8-byte scratch block, which holds plaintext and is therefore wiped.

std::size_t psen_encrypt_chunk(const BYTE* in, BYTE* out, const RoundKeys& keys, std::size_t length) {
    const std::size_t whole = length / kBlockSize;
    EncryptBlocks(in, out, whole, keys);
    const std::size_t tail = length % kBlockSize;
    if (tail == 0) return whole * kBlockSize;
    BYTE scratch[kBlockSize] = {};
    std::memcpy(scratch, in + whole * kBlockSize, tail);
    psen_encrypt_block(scratch, out + whole * kBlockSize, keys);
    SecureWipe(scratch, sizeof scratch);
    return (whole + 1) * kBlockSize;
}

bool psen_decrypt_chunk(const BYTE* in, BYTE* out, const RoundKeys& keys, std::size_t cipherLength, std::size_t keep) {
    const std::size_t whole = keep / kBlockSize;
    DecryptBlocks(in, out, whole, keys);
    const std::size_t tail = keep % kBlockSize;
    if (tail == 0 || whole * kBlockSize >= cipherLength) return true;
    BYTE scratch[kBlockSize];
    psen_decrypt_block(in + whole * kBlockSize, scratch, keys);
    std::memcpy(out + whole * kBlockSize, scratch, tail);
    BYTE padBits = 0;
    for (std::size_t i = tail; i < kBlockSize; ++i) padBits |= scratch[i];
    SecureWipe(scratch, sizeof scratch);
    return padBits == 0;
}
