#include "platform/gdi/DibDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/gdi/DibLayout.h"
#include "platform/gdi/RleDecoder.h"

namespace {

const BYTE* TableStart(const BITMAPINFO& info) {
    return reinterpret_cast<const BYTE*>(&info) + info.bmiHeader.biSize;
}

// One channel of a packed pixel: the bits under `mask`, scaled to 0..255.
class Channel {
public:
    explicit Channel(DWORD mask) : m_mask(mask), m_shift(mask ? std::countr_zero(mask) : 0), m_max(mask ? mask >> m_shift : 1) {}
    DWORD Take(DWORD value) const { return m_mask ? ((value & m_mask) >> m_shift) * 255 / m_max : 0; }

private:
    DWORD m_mask;
    int m_shift;
    DWORD m_max;
};

class PackedFormat {
public:
    PackedFormat(DWORD red, DWORD green, DWORD blue) : m_red(red), m_green(green), m_blue(blue) {}
    Pixel Decode(DWORD v) const { return (m_red.Take(v) << 16) | (m_green.Take(v) << 8) | m_blue.Take(v); }

private:
    Channel m_red, m_green, m_blue;
};

PackedFormat FormatOf(const BITMAPINFO& info, const DibLayout& d) {
    if (d.compression == BI_BITFIELDS) {
        DWORD masks[3];
        std::memcpy(masks, TableStart(info), sizeof masks);
        return {masks[0], masks[1], masks[2]};
    }
    if (d.bitCount == 16) return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

// A colour table widened to every index a byte can hold; indices beyond the table draw black.
using IndexColors = std::array<Pixel, 256>;

IndexColors WidenTable(const std::vector<Pixel>& table) {
    IndexColors colors{};
    std::copy_n(table.begin(), std::min(table.size(), colors.size()), colors.begin());
    return colors;
}

// A row of one-byte indices: an 8-bit row, or a row of decoded RLE8 or RLE4.
void LookupRow(const BYTE* indices, size_t width, const IndexColors& colors, Pixel* out) {
    for (size_t x = 0; x < width; ++x) out[x] = colors[indices[x]];
}

// Pixel x of an uncompressed stored row.
Pixel PixelAt(const BYTE* row, size_t x, const DibLayout& d, const IndexColors& colors, const PackedFormat& packed) {
    switch (d.bitCount) {
        case 1:
        case 4: {
            const size_t perByte = 8 / d.bitCount;
            const unsigned mask = (1u << d.bitCount) - 1;
            return colors[(row[x / perByte] >> (d.bitCount * (perByte - 1 - x % perByte))) & mask];
        }
        case 8: return colors[row[x]];
        case 16: return packed.Decode(static_cast<DWORD>(row[2 * x] | (row[2 * x + 1] << 8)));
        case 24: return static_cast<Pixel>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16));
        default: {
            DWORD v;
            std::memcpy(&v, row + 4 * x, 4);
            return packed.Decode(v);
        }
    }
}

const BYTE* StoredRowStart(const BYTE* bits, const DibLayout& d, int y) {
    return bits + static_cast<size_t>(d.StoredRow(y)) * d.stride;
}

}  // namespace

std::vector<Pixel> DibColorTable(const BITMAPINFO& info) {
    const auto layout = DibLayout::From(info.bmiHeader, DibSizeLimit::lifted);
    std::vector<Pixel> table;
    if (!layout || layout->compression == BI_BITFIELDS) return table;
    table.resize(layout->colorCount);
    const BYTE* entry = TableStart(info);
    for (auto& p : table) {
        p = static_cast<Pixel>(entry[0] | (entry[1] << 8) | (entry[2] << 16));
        entry += kColorEntrySize;
    }
    return table;
}

bool DecodeDib(const BITMAPINFO& info, std::span<const BYTE> bits, CSurface& out) {
    const auto d = DibLayout::From(info.bmiHeader);
    if (!d) return false;
    const IndexColors colors = WidenTable(DibColorTable(info));
    const PackedFormat packed = FormatOf(info, *d);
    if (d->IsRle()) {
        if (d->imageSize == 0) return false;  // the data's end is unknown: nothing safe to read
        const auto indices = DecodeRle(bits.first(std::min<size_t>(bits.size(), d->imageSize)), d->width, d->height,
                                       d->compression == BI_RLE4);
        out.Reset(d->width, d->height);
        const auto width = static_cast<size_t>(d->width);
        for (int y = 0; y < d->height; ++y)
            LookupRow(indices.data() + static_cast<size_t>(d->StoredRow(y)) * width, width, colors, out.Row(y));
        return true;
    }
    if (bits.size() < d->imageSize) return false;
    out.Reset(d->width, d->height);
    for (int y = 0; y < d->height; ++y) {
        const BYTE* row = StoredRowStart(bits.data(), *d, y);
        Pixel* pixels = out.Row(y);
        for (size_t x = 0; x < static_cast<size_t>(d->width); ++x) pixels[x] = PixelAt(row, x, *d, colors, packed);
    }
    return true;
}

RowSampler SampleDib(const BITMAPINFO& info, const BYTE* bits, const DibLayout& d) {
    return [bits, d, colors = WidenTable(DibColorTable(info)), packed = FormatOf(info, d)](
               int y, std::span<const int> columns, Pixel* out) {
        const BYTE* row = StoredRowStart(bits, d, y);
        for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c] >= 0) out[c] = PixelAt(row, static_cast<size_t>(columns[c]), d, colors, packed);
    };
}
