#pragma once
// The choice of block kernel: the widest the processor has, chosen once, or the one that
// DVRKIT_CRYPT_WIDTH names (scalar, 64, neon, avx2, avx512) for tests and benchmarks. A width the
// processor lacks falls back to the widest below it: neon is AArch64's, avx2 and avx512 x86-64's.
#include <cstddef>
#include <optional>
#include <string_view>

#include "crypt/KeySchedule.h"

enum class CipherWidth { scalar, portable64, neon, avx2, avx512 };

std::optional<CipherWidth> ParseCipherWidth(std::string_view name);
bool CipherWidthSupported(CipherWidth width);

// The width in use, and a way to change it for the whole process (tests compare the widths);
// returns the width actually taken.
CipherWidth ActiveCipherWidth();
CipherWidth SetCipherWidth(CipherWidth width);

// `blocks` blocks through the given width: full batches through its kernel; the rest through
// a zero-filled partial batch when that is cheaper than the scalar path, else the scalar path.
void CryptBlocksWith(CipherWidth width, const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys,
                     bool decrypt);
