#include "crypt/ContainerRecord.h"

#include "crypt/ChunkCipher.h"
#include "crypt/Crc32.h"
#include "crypt/SecureWipe.h"
#include "platform/core/LittleEndian.h"

std::size_t SealRecord(const BYTE* plain, std::size_t length, BYTE* out, const RoundKeys& keys, bool crc) {
    const std::size_t cipherLength = psen_encrypt_chunk(plain, out, keys, length);
    if (!crc) return cipherLength;
    PutU32(out + cipherLength, Crc32(out, cipherLength));
    return cipherLength + 4;
}

bool OpenRecord(const BYTE* record, std::size_t cipherLength, bool crc, BYTE* plain, std::size_t keep,
                const RoundKeys& keys) {
    if (crc && Crc32(record, cipherLength) != GetU32(record + cipherLength)) return false;
    if (psen_decrypt_chunk(record, plain, keys, cipherLength, keep)) return true;
    SecureWipe(plain, keep);
    return false;
}
