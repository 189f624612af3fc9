#pragma once
// Surface pixels to colour-table indices. A colour of the table takes the first index that
// holds it; any other colour the index of its nearest entry (least squared distance in red,
// green and blue, the first of equals; 0 for an empty table). Every answer is kept in a small
// open-addressing table, so a colour is searched for once per PaletteIndex.
#include <cstdint>
#include <vector>

#include "platform/gdi/CSurface.h"

class PaletteIndex {
public:
    explicit PaletteIndex(std::vector<Pixel> table);

    BYTE operator()(Pixel p) {
        const size_t slot = Probe(p);
        return m_slots[slot] != kEmpty ? static_cast<BYTE>(m_slots[slot]) : Add(slot, p, Nearest(p));
    }

    // Indexes one row; neighbouring pixels mostly repeat, so only changes are looked up.
    void IndexRow(const Pixel* in, int width, BYTE* out);

private:
    // A slot holds the pixel above its index byte; no pixel and index make this value.
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};

    // The slot that holds `p`, or the empty one where it belongs.
    size_t Probe(Pixel p) const {
        size_t slot = (p * std::uint64_t{0x9E3779B97F4A7C15}) >> m_shift;
        while (m_slots[slot] != kEmpty && static_cast<Pixel>(m_slots[slot] >> 8) != p) slot = (slot + 1) & m_mask;
        return slot;
    }
    BYTE Add(size_t slot, Pixel p, BYTE index);
    void Grow();
    BYTE Nearest(Pixel p) const;

    std::vector<Pixel> m_table;
    std::vector<std::uint64_t> m_slots;
    size_t m_mask = 0;
    int m_shift = 0;
    size_t m_count = 0;
};
