#pragma once
// The implementations behind Crc32, exposed so that tests can check each against an
// independent CRC-32. Both work on the raw register: the caller complements on entry and exit.
#include <immintrin.h>

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

// The end of every folding: a 128-bit remainder `folded` followed by `length` bytes (a
// multiple of kFoldUnit), folded and reduced to the register. Needs what Folded needs.
DWORD FoldTail(__m128i folded, const BYTE* data, std::size_t length);

// Folding four 512-bit vectors at a time with VPCLMULQDQ; needs AVX-512 (F) and VPCLMULQDQ
// besides what Folded needs (see WideAvailable), and `length` >= kWideMinimum and a multiple of
// kFoldUnit.
constexpr std::size_t kWideMinimum = 256;
bool WideAvailable();
DWORD FoldedWide(DWORD reg, const BYTE* data, std::size_t length);

}  // namespace crc32kernel
