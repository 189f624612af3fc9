#pragma once
// The two implementations behind Crc32, exposed so that tests can check each against an
// independent CRC-32. Both work on the raw register: the caller complements on entry and exit.
#include <cstddef>

#include "platform/core/Types.h"

namespace crc32kernel {

// Slicing-by-8 over eight byte tables; any length, any processor.
DWORD Sliced(DWORD reg, const BYTE* data, std::size_t length);

// Carry-less multiplication folding; needs PCLMULQDQ and SSE4.1 (see FoldedAvailable) and
// `length` >= kFoldMinimum and a multiple of kFoldUnit.
constexpr std::size_t kFoldMinimum = 64;
constexpr std::size_t kFoldUnit = 16;
bool FoldedAvailable();
DWORD Folded(DWORD reg, const BYTE* data, std::size_t length);

}  // namespace crc32kernel
