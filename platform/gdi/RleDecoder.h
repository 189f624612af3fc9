#pragma once
// Decodes RLE8 or RLE4 pixels (RleFormat.h) into palette indices, one per byte, rows in
// stored (bottom-up) order. Damaged data never reads or writes outside the buffers: runs past
// a row's end are cut, a delta or row past the last row ends the image, and data that ends
// without its end-of-bitmap mark ends the image there. Pixels no run reaches keep index 0.
#include <span>
#include <vector>

#include "platform/core/Types.h"

std::vector<BYTE> DecodeRle(std::span<const BYTE> data, int width, int height, bool fourBit);
