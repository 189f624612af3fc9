#pragma once
// CRC-32 of IEEE 802.3 (the one of zlib and PNG): reflected, polynomial 0xEDB88320, register
// started at 0xFFFFFFFF and complemented at the end.
#include <cstddef>

#include "platform/core/Types.h"

// The CRC-32 of `length` bytes; with `previous` the CRC of the bytes before them, the result is
// the CRC of the whole (so a stream can be fed in pieces). Zero bytes give `previous` (0 at the
// start).
DWORD Crc32(const BYTE* data, std::size_t length, DWORD previous = 0);

// The kernels behind Crc32: the widest the processor has, chosen once, or the one that
// DVRKIT_CRC_PATH names (sliced, pmull, pclmul, vpclmul) for tests and benchmarks. A path the
// processor lacks falls back to the next narrower one: pmull is AArch64's, pclmul and vpclmul
// x86-64's.
enum class CrcPath { sliced, pmull, pclmul, vpclmul };
bool CrcPathSupported(CrcPath path);

// Crc32 through the given path, which the processor must have (CrcPathSupported).
DWORD Crc32With(CrcPath path, const BYTE* data, std::size_t length, DWORD previous = 0);
