#pragma once
// Run-length encoded DIB pixels (RLE8 for 8-bit, RLE4 for 4-bit images), rows bottom-up.
// A pair (n > 0, v) repeats: n pixels of index v (RLE4: the two nibbles of v alternately,
// high first). A pair (0, e) is an escape:
//   e = 0  end of row          e = 1  end of bitmap          e = 2  delta: two bytes dx, dy
//   e >= 3 absolute run: e indices follow (RLE4: packed two to a byte, high nibble first),
//          padded with zero bytes to an even count of bytes.
#include "platform/core/Types.h"

constexpr BYTE kRleEscape = 0;
constexpr BYTE kRleEndOfLine = 0;
constexpr BYTE kRleEndOfBitmap = 1;
constexpr BYTE kRleDelta = 2;
constexpr int kRleMinAbsolute = 3;  // shorter literal stretches are written as runs
constexpr int kRleMaxRun = 255;
