#pragma once
// The container in memory: the caller's buffers, written in place.
#include <cstdint>

#include "crypt/CipherKey.h"

// Encrypts `plainLength` bytes of `plain` into `out`, which must hold
// container::ContainerLength(plainLength, crc, Form::memory) + 1 bytes (the last one is the
// terminating 00). Returns the container length.
std::uint64_t EncryptMemoryContainer(const CipherKey& key, bool crc, const BYTE* plain, std::uint64_t plainLength,
                                     BYTE* out);

// Decrypts the container of `length` bytes at `in` into `plain`, which must hold the plaintext
// plus the terminating 00 written after it (at most length - 5 + 1 bytes in any case). Never
// reads or writes outside those bounds, whatever the container holds. On the CRC failure of a
// chunk, the chunks before it stay written and the 00 follows them; a container whose length,
// pad byte or final piece do not fit writes only the 00.
DWORD DecryptMemoryContainer(const CipherKey& key, bool crc, const BYTE* in, std::uint64_t length, BYTE* plain);
