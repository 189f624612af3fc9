#pragma once
// Encodes palette indices as RLE8 or RLE4 (the format is described in RleFormat.h).
#include <vector>

#include "platform/core/Types.h"

// `indices` holds width x height indices, one per byte, rows in stored (bottom-up) order;
// with `fourBit` each index must be below 16. The result ends with the end-of-bitmap mark.
std::vector<BYTE> EncodeRle(const std::vector<BYTE>& indices, int width, int height, bool fourBit);
