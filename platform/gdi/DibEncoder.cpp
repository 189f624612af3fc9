#include "platform/gdi/DibEncoder.h"

#include <unordered_map>

#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/DibLayout.h"
#include "platform/gdi/RleEncoder.h"

namespace {

// Pixel to colour-table index, remembering every answer (images hold few distinct colours).
class Indexer {
public:
    explicit Indexer(std::vector<Pixel> table) : m_table(std::move(table)) {
        for (size_t i = m_table.size(); i-- > 0;) m_known[m_table[i]] = static_cast<BYTE>(i);
    }

    BYTE operator()(Pixel p) {
        // Neighbouring pixels mostly repeat: the last answer saves most look-ups.
        if (m_hasLast && p == m_lastPixel) return m_lastIndex;
        const auto it = m_known.find(p);
        m_lastIndex = it != m_known.end() ? it->second : (m_known[p] = Nearest(p));
        m_lastPixel = p;
        m_hasLast = true;
        return m_lastIndex;
    }

private:
    BYTE Nearest(Pixel p) const {
        size_t best = 0;
        long bestDistance = -1;
        for (size_t i = 0; i < m_table.size(); ++i) {
            const long dr = static_cast<long>((m_table[i] >> 16) & 0xFF) - static_cast<long>((p >> 16) & 0xFF);
            const long dg = static_cast<long>((m_table[i] >> 8) & 0xFF) - static_cast<long>((p >> 8) & 0xFF);
            const long db = static_cast<long>(m_table[i] & 0xFF) - static_cast<long>(p & 0xFF);
            const long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return static_cast<BYTE>(best);
    }

    std::vector<Pixel> m_table;
    std::unordered_map<Pixel, BYTE> m_known;
    bool m_hasLast = false;
    Pixel m_lastPixel = 0;
    BYTE m_lastIndex = 0;
};

std::vector<BYTE> Indices(const CSurface& image, const DibLayout& d, Indexer& index) {
    std::vector<BYTE> out(static_cast<size_t>(d.width) * static_cast<size_t>(d.height));
    for (int y = 0; y < d.height; ++y) {
        BYTE* row = out.data() + static_cast<size_t>(d.StoredRow(y)) * static_cast<size_t>(d.width);
        const Pixel* in = image.Row(y);
        for (int x = 0; x < d.width; ++x) row[x] = index(in[x]);
    }
    return out;
}

void EncodeRow(const Pixel* in, const DibLayout& d, Indexer& index, BYTE* row) {
    for (int x = 0; x < d.width; ++x) {
        const auto ux = static_cast<size_t>(x);
        const Pixel p = in[x];
        switch (d.bitCount) {
            case 1: row[ux / 8] |= static_cast<BYTE>((index(p) & 1) << (7 - ux % 8)); break;
            case 4: row[ux / 2] |= static_cast<BYTE>((index(p) & 0x0F) << (ux % 2 == 0 ? 4 : 0)); break;
            case 8: row[ux] = index(p); break;
            case 16: {
                const auto v = static_cast<WORD>(((p >> 19) & 0x1F) << 10 | ((p >> 11) & 0x1F) << 5 | ((p >> 3) & 0x1F));
                row[2 * ux] = static_cast<BYTE>(v);
                row[2 * ux + 1] = static_cast<BYTE>(v >> 8);
                break;
            }
            case 24:
                row[3 * ux] = static_cast<BYTE>(p);
                row[3 * ux + 1] = static_cast<BYTE>(p >> 8);
                row[3 * ux + 2] = static_cast<BYTE>(p >> 16);
                break;
            default:
                for (size_t k = 0; k < 3; ++k) row[4 * ux + k] = static_cast<BYTE>(p >> (8 * k));
                row[4 * ux + 3] = 0;
        }
    }
}

}  // namespace

bool EncodeDib(const CSurface& image, const BITMAPINFO& info, std::vector<BYTE>& out) {
    const auto d = DibLayout::From(info.bmiHeader);
    if (!d || d->compression == BI_BITFIELDS || image.Width() != d->width || image.Height() != d->height) return false;
    Indexer index(DibColorTable(info));
    if (d->IsRle()) {
        out = EncodeRle(Indices(image, *d, index), d->width, d->height, d->compression == BI_RLE4);
        return true;
    }
    out.assign(d->imageSize, 0);
    for (int y = 0; y < d->height; ++y)
        EncodeRow(image.Row(y), *d, index, out.data() + static_cast<size_t>(d->StoredRow(y)) * d->stride);
    return true;
}
