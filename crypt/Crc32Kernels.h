#pragma once
// The implementations behind Crc32, exposed so that tests can check each against an
// independent CRC-32. All work on the raw register: the caller complements on entry and exit.
// The folding kernels exist only on their processor family.
#include <cstddef>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "platform/core/Types.h"

namespace crc32kernel {

// Slicing-by-8 over eight byte tables; any length, any processor.
DWORD Sliced(DWORD reg, const BYTE* data, std::size_t length);

// Every folding kernel takes `length` >= kFoldMinimum and a multiple of kFoldUnit.
constexpr std::size_t kFoldMinimum = 64;
constexpr std::size_t kFoldUnit = 16;

#if defined(__x86_64__)
// Carry-less multiplication folding; needs PCLMULQDQ and SSE4.1 (see FoldedAvailable) and
// `length` >= kFoldMinimum and a multiple of kFoldUnit.
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
#endif

#if defined(__aarch64__)
// The same folding with the PMULL instruction of the cryptography extension (see
// PmullAvailable, which asks the kernel).
bool PmullAvailable();
DWORD FoldedPmull(DWORD reg, const BYTE* data, std::size_t length);
#endif

}  // namespace crc32kernel
