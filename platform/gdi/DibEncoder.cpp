#include "platform/gdi/DibEncoder.h"

#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/DibLayout.h"
#include "platform/gdi/PaletteIndex.h"
#include "platform/gdi/RleEncoder.h"

namespace {

std::vector<BYTE> Indices(const CSurface& image, const DibLayout& d, PaletteIndex& index) {
    std::vector<BYTE> out(static_cast<size_t>(d.width) * static_cast<size_t>(d.height));
    for (int y = 0; y < d.height; ++y)
        index.IndexRow(image.Row(y), d.width, out.data() + static_cast<size_t>(d.StoredRow(y)) * static_cast<size_t>(d.width));
    return out;
}

// Indices of 1 or 4 bits, packed high bits first into a zeroed row.
void PackIndices(const BYTE* indices, size_t width, WORD bitCount, BYTE* row) {
    const size_t perByte = 8 / bitCount;
    const BYTE mask = static_cast<BYTE>((1 << bitCount) - 1);
    for (size_t x = 0; x < width; ++x)
        row[x / perByte] |= static_cast<BYTE>((indices[x] & mask) << (bitCount * (perByte - 1 - x % perByte)));
}

// One row in the layout's format; `scratch` holds a row of indices for the packed formats.
void EncodeRow(const Pixel* in, const DibLayout& d, PaletteIndex& index, std::vector<BYTE>& scratch, BYTE* row) {
    const auto width = static_cast<size_t>(d.width);
    switch (d.bitCount) {
        case 1:
        case 4:
            index.IndexRow(in, d.width, scratch.data());
            PackIndices(scratch.data(), width, d.bitCount, row);
            return;
        case 8: index.IndexRow(in, d.width, row); return;
        case 16:
            for (size_t x = 0; x < width; ++x) {
                const Pixel p = in[x];
                const auto v = static_cast<WORD>(((p >> 19) & 0x1F) << 10 | ((p >> 11) & 0x1F) << 5 | ((p >> 3) & 0x1F));
                row[2 * x] = static_cast<BYTE>(v);
                row[2 * x + 1] = static_cast<BYTE>(v >> 8);
            }
            return;
        case 24:
            for (size_t x = 0; x < width; ++x) {
                row[3 * x] = static_cast<BYTE>(in[x]);
                row[3 * x + 1] = static_cast<BYTE>(in[x] >> 8);
                row[3 * x + 2] = static_cast<BYTE>(in[x] >> 16);
            }
            return;
        default:
            for (size_t x = 0; x < width; ++x) {
                for (size_t k = 0; k < 3; ++k) row[4 * x + k] = static_cast<BYTE>(in[x] >> (8 * k));
                row[4 * x + 3] = 0;
            }
    }
}

}  // namespace

bool EncodeDib(const CSurface& image, const BITMAPINFO& info, std::vector<BYTE>& out) {
    const auto d = DibLayout::From(info.bmiHeader);
    if (!d || d->compression == BI_BITFIELDS || image.Width() != d->width || image.Height() != d->height) return false;
    PaletteIndex index(DibColorTable(info));
    if (d->IsRle()) {
        out = EncodeRle(Indices(image, *d, index), d->width, d->height, d->compression == BI_RLE4);
        return true;
    }
    out.assign(d->imageSize, 0);
    std::vector<BYTE> scratch(d->bitCount < 8 ? static_cast<size_t>(d->width) : 0);
    for (int y = 0; y < d->height; ++y)
        EncodeRow(image.Row(y), *d, index, scratch, out.data() + static_cast<size_t>(d->StoredRow(y)) * d->stride);
    return true;
}
