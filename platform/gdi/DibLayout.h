#pragma once
// The checked reading of a DIB's info header: what the decoder, the encoder and the bitmap
// calls rely on. Any header that From() accepts describes an image whose rows, colour table and
// pixel bytes can be computed without overflow, and, unless the size limits were lifted, of
// bounded size.
#include <cstdint>
#include <optional>

#include "platform/gdi/DibFormat.h"

// Images beyond these are refused: 16384 pixels a side and 16 million pixels (64 MB of
// surface) in all, whatever a damaged header claims.
constexpr LONG kMaxDibSide = 16384;
constexpr std::uint64_t kMaxDibPixels = std::uint64_t{1} << 24;

// Whether a header is held to the limits above. They stay for everything that turns the whole
// image into a surface and wherever the caller cannot say how many bytes the pixels have. They
// are lifted only for uncompressed rows read where those bytes are known to exist, since the
// bytes then bound the work; run-length-encoded rows keep them, as a few bytes can claim any area.
enum class DibSizeLimit { applied, lifted };

struct DibLayout {
    int width = 0;
    int height = 0;              // always positive
    bool topDown = false;        // the header's height was negative
    WORD bitCount = 0;
    DWORD compression = BI_RGB;
    DWORD colorCount = 0;        // colour-table entries (for BI_BITFIELDS: the three masks)
    std::uint64_t stride = 0;    // bytes per uncompressed row
    std::uint64_t imageSize = 0; // bytes of pixel data: stride x height, or the header's RLE
                                 // size (0 when a compressed image's size is not yet known)

    // The layout of a header, or nothing for a header this system does not draw: a size
    // below 40, no width or height, a side or area beyond the limits (as `limit` says), a bit count other than
    // 1, 4, 8, 16, 24 or 32, a compression that does not fit the bit count, more colours
    // than the bit count can index, or a compressed top-down image.
    static std::optional<DibLayout> From(const BITMAPINFOHEADER& header, DibSizeLimit limit = DibSizeLimit::applied);

    // Index in the stored rows of the row that is `y` from the top of the image.
    int StoredRow(int y) const { return topDown ? y : height - 1 - y; }
    bool IsRle() const { return compression == BI_RLE8 || compression == BI_RLE4; }
};
