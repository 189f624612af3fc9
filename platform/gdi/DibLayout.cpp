#include "platform/gdi/DibLayout.h"

namespace {

bool CompressionFits(DWORD compression, WORD bitCount) {
    switch (compression) {
        case BI_RGB: return true;
        case BI_RLE8: return bitCount == 8;
        case BI_RLE4: return bitCount == 4;
        case BI_BITFIELDS: return bitCount == 16 || bitCount == 32;
        default: return false;
    }
}

bool WithinLimits(const DibLayout& d) {
    return d.width <= kMaxDibSide && d.height <= kMaxDibSide &&
           static_cast<std::uint64_t>(d.width) * static_cast<std::uint64_t>(d.height) <= kMaxDibPixels;
}

}  // namespace

std::optional<DibLayout> DibLayout::From(const BITMAPINFOHEADER& h, DibSizeLimit limit) {
    if (h.biSize < kInfoHeaderSize || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return std::nullopt;
    DibLayout d;
    d.width = h.biWidth;
    d.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    d.topDown = h.biHeight < 0;
    d.bitCount = h.biBitCount;
    if (d.bitCount != 1 && d.bitCount != 4 && d.bitCount != 8 && d.bitCount != 16 && d.bitCount != 24 && d.bitCount != 32)
        return std::nullopt;
    d.compression = h.biCompression;
    if (!CompressionFits(d.compression, d.bitCount)) return std::nullopt;
    // Compressed images are bottom-up by definition; a top-down one is malformed.
    if (d.IsRle() && d.topDown) return std::nullopt;
    if ((limit == DibSizeLimit::applied || d.IsRle()) && !WithinLimits(d)) return std::nullopt;
    d.colorCount = d.compression == BI_BITFIELDS ? 3 : DibColorCount(h.biClrUsed, d.bitCount);
    if (d.bitCount <= 8 && d.colorCount > (1u << d.bitCount)) return std::nullopt;
    if (d.bitCount > 8 && d.compression == BI_RGB && d.colorCount > 256) return std::nullopt;
    d.stride = DibStride(static_cast<std::uint64_t>(d.width), d.bitCount);
    d.imageSize = d.IsRle() ? h.biSizeImage : d.stride * static_cast<std::uint64_t>(d.height);
    return d;
}
