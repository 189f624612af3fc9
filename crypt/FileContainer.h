#pragma once
// The container in a file, streamed in groups of kChunksPerGroup chunks through four fixed
// buffers, so memory use does not grow with the file, with the file reads and writes overlapped
// with the cipher (OverlappedIo.h). Files are reached through CFile, whose errors arrive as
// CFileException and are turned into status codes here.
#include <cstdint>

#include "crypt/CipherKey.h"
#include "platform/core/CFile.h"

// Chunks read, transformed and written at a time: large enough that a system call moves a
// megabyte, small enough that the four buffers stay a few megabytes.
constexpr std::size_t kChunksPerGroup = 128;

// Encrypts the first `plainLength` bytes of `plain` (open, at its start) into `out` (open,
// empty). A file that ends before `plainLength` bytes gives kReadError; the container then
// ends early, after the groups before the one that could not be read.
DWORD EncryptFileContainer(const CipherKey& key, bool crc, CFile& plain, std::uint64_t plainLength, CFile& out);

// Whether the container file `path` (or `container`, `length` bytes long, pad count `pad`)
// carries a CRC-32 per chunk (container::ShowsChunkCrcs). Decrypting without CRCs refuses such a
// container as damaged, since its records would be read at the wrong places; a caller can tell
// its user to ask for CRCs instead.
bool CarriesChunkCrcs(const char* path);
bool CarriesChunkCrcs(CFile& container, std::uint64_t length, BYTE pad);

// Decrypts the container `in` (open, at its start) into `out` (open, empty). `pad` is the
// container's pad byte as read before, or -1 if the container is too short to have one. The
// final record is found from the container's length. Chunks decrypted before a failure stay in
// `out`: those of earlier groups, and those of the failing chunk's group before it.
DWORD DecryptFileContainer(const CipherKey& key, bool crc, int pad, CFile& in, CFile& out);
