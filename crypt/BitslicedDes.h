#pragma once
// Bitsliced kernels of the DES data path: many blocks at once, one bit of every block per
// machine word, in the widths of each processor family. A kernel takes one full batch; CipherDispatch feeds them.
#include <cstddef>

#include "crypt/KeySchedule.h"

namespace bitsliced {

constexpr std::size_t kPortableBlocks = 64;
constexpr std::size_t kNeonBlocks = 128;
constexpr std::size_t kAvx2Blocks = 256;
constexpr std::size_t kAvx512Blocks = 512;

// `batches` batches of the named number of 8-byte blocks; `in` and `out` may be the same buffer.
// The round keys are read in place, a bit at a time, so no copy of them is made. The AVX2 and
// AVX-512 kernels exist only on x86-64 and may run only where the processor has those
// instructions; the NEON kernel exists only on AArch64.
using BatchKernel = void (*)(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt);
void CryptPortable(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt);
void CryptNeon(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt);
void CryptAvx2(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt);
void CryptAvx512(const BYTE* in, BYTE* out, std::size_t batches, const RoundKeys& keys, bool decrypt);

}  // namespace bitsliced
