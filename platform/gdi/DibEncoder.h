#pragma once
// Surface pixels to DIB bits in the format an info header asks for: 1, 4 or 8 bits through
// the header's colour table (exact colours keep their index, others take the nearest entry),
// 16 bits as 5-5-5, 24 and 32 bits as they are, and RLE8 or RLE4 (RleEncoder).
#include <vector>

#include "platform/gdi/CSurface.h"
#include "platform/gdi/DibFormat.h"

// The bits of `image` as `info` describes them; false for a header that is not drawable,
// asks for BI_BITFIELDS, or has another size than the image.
bool EncodeDib(const CSurface& image, const BITMAPINFO& info, std::vector<BYTE>& out);
