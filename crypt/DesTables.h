#pragma once
// The combined S-box-and-P tables of the DES round function.
//
// Working layout of a 32-bit half. The data path keeps each half in a "rotated reversed" word:
// DES bit k of the half (FIPS 46 numbering, 1 = most significant) lies at bit k mod 32 of the
// word (bit 32 at bit 0, bit 1 at bit 1, ..., bit 31 at bit 31). In that layout the six E
// bits that meet S-box 2i + 1 are bits 8i .. 8i + 5 of the word, in DES order from the least
// significant, and those of S-box 2i + 2 are the same bits of the word rotated right by 4 -
// exactly the layout of the round keys, so a round needs no expansion step at all.
#include <array>

#include "platform/core/Types.h"

// kSpTables[s][x]: the P-permuted output of S-box s + 1, in the working layout, for the byte x
// whose low six bits are that S-box's input in DES order from the least significant bit. The
// two top bits of x are ignored, so a byte can index a table without masking.
using SpTables = std::array<std::array<DWORD, 256>, 8>;
extern const SpTables kSpTables;
