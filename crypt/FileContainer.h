#pragma once
// The container in a file, streamed one chunk at a time through two fixed buffers, so memory
// use does not grow with the file. Files are reached through CFile, whose errors arrive as
// CFileException and are turned into status codes here.
#include <cstdint>

#include "crypt/CipherKey.h"
#include "platform/core/CFile.h"

// Encrypts the first `plainLength` bytes of `plain` (open, at its start) into `out` (open,
// empty). A file that ends before `plainLength` bytes gives kReadError; the container then
// ends early.
DWORD EncryptFileContainer(const CipherKey& key, bool crc, CFile& plain, std::uint64_t plainLength, CFile& out);

// Decrypts the container `in` (open, at its start) into `out` (open, empty). `pad` is the
// container's pad byte as read before, or -1 if the container is too short to have one. The
// final record is found from the container's length. Chunks written before a failure stay in
// `out`.
DWORD DecryptFileContainer(const CipherKey& key, bool crc, int pad, CFile& in, CFile& out);
