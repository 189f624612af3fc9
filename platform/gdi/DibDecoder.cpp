#include "platform/gdi/DibDecoder.h"

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

Pixel Lookup(const std::vector<Pixel>& table, unsigned index) { return index < table.size() ? table[index] : 0; }

void DecodeRow(const BYTE* row, const DibLayout& d, const std::vector<Pixel>& table, const PackedFormat& packed, Pixel* out) {
    for (int x = 0; x < d.width; ++x) {
        const auto ux = static_cast<size_t>(x);
        switch (d.bitCount) {
            case 1: out[x] = Lookup(table, (row[ux / 8] >> (7 - ux % 8)) & 1); break;
            case 4: out[x] = Lookup(table, (row[ux / 2] >> (ux % 2 == 0 ? 4 : 0)) & 0x0F); break;
            case 8: out[x] = Lookup(table, row[ux]); break;
            case 16: out[x] = packed.Decode(static_cast<DWORD>(row[2 * ux] | (row[2 * ux + 1] << 8))); break;
            case 24: out[x] = static_cast<Pixel>(row[3 * ux] | (row[3 * ux + 1] << 8) | (row[3 * ux + 2] << 16)); break;
            default: {
                DWORD v;
                std::memcpy(&v, row + 4 * ux, 4);
                out[x] = packed.Decode(v);
            }
        }
    }
}

}  // namespace

std::vector<Pixel> DibColorTable(const BITMAPINFO& info) {
    const auto layout = DibLayout::From(info.bmiHeader);
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
    const std::vector<Pixel> table = DibColorTable(info);
    const PackedFormat packed = FormatOf(info, *d);
    if (d->IsRle()) {
        if (d->imageSize == 0) return false;  // the data's end is unknown: nothing safe to read
        const auto indices = DecodeRle(bits.first(std::min<size_t>(bits.size(), d->imageSize)), d->width, d->height,
                                       d->compression == BI_RLE4);
        out.Reset(d->width, d->height);
        for (int y = 0; y < d->height; ++y) {
            const BYTE* row = indices.data() + static_cast<size_t>(d->StoredRow(y)) * static_cast<size_t>(d->width);
            for (int x = 0; x < d->width; ++x) out.At(x, y) = Lookup(table, row[x]);
        }
        return true;
    }
    if (bits.size() < d->imageSize) return false;
    out.Reset(d->width, d->height);
    for (int y = 0; y < d->height; ++y)
        DecodeRow(bits.data() + static_cast<size_t>(d->StoredRow(y)) * d->stride, *d, table, packed, out.Row(y));
    return true;
}
