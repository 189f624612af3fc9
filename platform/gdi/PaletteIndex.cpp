#include "platform/gdi/PaletteIndex.h"

#include <bit>
#include <cstring>

namespace {

// Room for a 256-colour table and as many other colours at half load before any growth.
constexpr size_t kInitialSlots = 1024;

long Channel(Pixel p, int shift) { return static_cast<long>((p >> shift) & 0xFF); }

}  // namespace

PaletteIndex::PaletteIndex(std::vector<Pixel> table) : m_table(std::move(table)) {
    m_slots.assign(kInitialSlots, kEmpty);
    m_mask = kInitialSlots - 1;
    m_shift = 64 - std::countr_zero(kInitialSlots);
    // In table order, so a colour that appears twice keeps its first index.
    for (size_t i = 0; i < m_table.size(); ++i) {
        const size_t slot = Probe(m_table[i]);
        if (m_slots[slot] == kEmpty) Add(slot, m_table[i], static_cast<BYTE>(i));
    }
}

void PaletteIndex::IndexRow(const Pixel* in, int width, BYTE* out) {
    // The run is found before anything is written: stores to bytes could alias the pixels.
    for (int x = 0; x < width;) {
        const Pixel p = in[x];
        int end = x + 1;
        while (end < width && in[end] == p) ++end;
        std::memset(out + x, (*this)(p), static_cast<size_t>(end - x));
        x = end;
    }
}

BYTE PaletteIndex::Add(size_t slot, Pixel p, BYTE index) {
    m_slots[slot] = static_cast<std::uint64_t>(p) << 8 | index;
    if (++m_count * 2 > m_slots.size()) Grow();
    return index;
}

void PaletteIndex::Grow() {
    std::vector<std::uint64_t> old(m_slots.size() * 2, kEmpty);
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    --m_shift;
    for (const std::uint64_t entry : old)
        if (entry != kEmpty) m_slots[Probe(static_cast<Pixel>(entry >> 8))] = entry;
}

BYTE PaletteIndex::Nearest(Pixel p) const {
    size_t best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < m_table.size(); ++i) {
        const long dr = Channel(m_table[i], 16) - Channel(p, 16);
        const long dg = Channel(m_table[i], 8) - Channel(p, 8);
        const long db = Channel(m_table[i], 0) - Channel(p, 0);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<BYTE>(best);
}
