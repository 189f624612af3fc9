#include "platform/gdi/FontInstance.h"

#include <cstring>

#include FT_SYNTHESIS_H

namespace {

constexpr int kLatinCount = 256;
// Horizontal shear of a made-up italic: about 12 degrees, in 16.16 fixed point.
constexpr FT_Fixed kSlantShear = 0x3400;

int CeilPixels(FT_Pos v) { return static_cast<int>((v + 63) >> 6); }

}  // namespace

FontInstance::FontInstance(FT_Face face, std::string family, bool emboldenSynthetic, bool slantSynthetic)
    : m_face(face), m_family(std::move(family)), m_embolden(emboldenSynthetic), m_slant(slantSynthetic),
      m_latin(kLatinCount), m_latinLoaded(kLatinCount, false) {
    if (!m_face) return;
    const FT_Size_Metrics& metrics = m_face->size->metrics;
    m_ascent = CeilPixels(metrics.ascender);
    m_descent = CeilPixels(-metrics.descender);
    m_emSize = metrics.y_ppem;
    if (m_slant) {
        FT_Matrix shear{0x10000, kSlantShear, 0, 0x10000};
        FT_Set_Transform(m_face, &shear, nullptr);
    }
}

FontInstance::~FontInstance() {
    if (m_face) FT_Done_Face(m_face);
}

const Glyph& FontInstance::GlyphFor(char32_t c) {
    if (c < kLatinCount) {
        if (!m_latinLoaded[c]) {
            m_latin[c] = Render(c);
            m_latinLoaded[c] = true;
        }
        return m_latin[c];
    }
    auto it = m_others.find(c);
    if (it == m_others.end()) it = m_others.emplace(c, Render(c)).first;
    return it->second;
}

int FontInstance::Measure(std::u32string_view text) {
    std::lock_guard guard(m_lock);
    int width = 0;
    for (char32_t c : text) width += GlyphFor(c).advance;
    return width;
}

Glyph FontInstance::Render(char32_t c) const {
    Glyph glyph;
    if (!m_face) return glyph;
    const FT_UInt index = FT_Get_Char_Index(m_face, c);
    if (FT_Load_Glyph(m_face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
    FT_GlyphSlot slot = m_face->glyph;
    if (m_embolden) FT_GlyphSlot_Embolden(slot);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height));
    for (int y = 0; y < glyph.height; ++y)
        std::memcpy(glyph.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(glyph.width),
                    bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch, static_cast<size_t>(glyph.width));
    return glyph;
}
