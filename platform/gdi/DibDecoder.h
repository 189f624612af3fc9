#pragma once
// DIB bits to surface pixels. The info block holds the header and, directly after its
// biSize bytes, the colour table (or the three BI_BITFIELDS masks); `bits` is every byte the
// caller can vouch for. Indices beyond the colour table draw black.
#include <span>

#include "platform/gdi/CSurface.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/DibLayout.h"

// Fills `out` (resized to the image) from the bits; false, with `out` unchanged, when the
// header is not drawable (DibLayout::From) or the bits are shorter than the image needs.
bool DecodeDib(const BITMAPINFO& info, std::span<const BYTE> bits, CSurface& out);

// The pixels of uncompressed bits decoded where they lie, only those asked for, rows counted
// from the image's top: an image of any size drawn without a surface of its own. `layout` is
// the header's (not run-length-encoded) and `bits` hold its stride x height bytes.
RowSampler SampleDib(const BITMAPINFO& info, const BYTE* bits, const DibLayout& layout);

// The colour table of an info block, as surface pixels (the count that the header implies).
std::vector<Pixel> DibColorTable(const BITMAPINFO& info);
