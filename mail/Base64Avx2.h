#pragma once
// The vectorised part of the base64 encoder: 24 bytes into 32 characters per step with AVX2,
// chosen at run time on processors that have it. The codec finishes what is left with its
// portable code, so the text is the same either way.
#include <cstddef>

#include "platform/core/Types.h"

// True when this processor runs AVX2 (checked once).
bool Base64Avx2Available();
// Encodes groups of 24 bytes from `data` while at least 28 bytes are readable (each step loads
// 16 bytes at offset 12); writes 32 characters per group at `out`. Returns the bytes consumed;
// `out` is moved past the characters. Call only when Base64Avx2Available().
std::size_t EncodeBase64Avx2(const BYTE* data, std::size_t count, char*& out);
