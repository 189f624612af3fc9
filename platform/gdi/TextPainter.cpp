#include "platform/gdi/TextPainter.h"

#include <algorithm>

namespace {

Pixel Blend(Pixel under, Pixel over, unsigned coverage) {
    const unsigned keep = 255 - coverage;
    Pixel out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned u = (under >> shift) & 0xFF, o = (over >> shift) & 0xFF;
        out |= ((o * coverage + u * keep + 127) / 255) << shift;
    }
    return out;
}

void PaintGlyph(Canvas& canvas, const Glyph& glyph, int originX, int baseline, Pixel color) {
    const int left = originX + glyph.left, top = baseline - glyph.top;
    const CRect& clip = canvas.Clip();
    const int x0 = std::max(left, clip.left), x1 = std::min(left + glyph.width, clip.right);
    const int y0 = std::max(top, clip.top), y1 = std::min(top + glyph.height, clip.bottom);
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* row = glyph.coverage.data() + static_cast<size_t>(y - top) * static_cast<size_t>(glyph.width);
        Pixel* out = canvas.Surface().Row(y);
        for (int x = x0; x < x1; ++x) {
            const unsigned c = row[x - left];
            if (c == 255) out[x] = color;
            else if (c != 0) out[x] = Blend(out[x], color, c);
        }
    }
}

}  // namespace

int PaintText(Canvas& canvas, FontInstance& font, std::u32string_view text, int x, int top, Pixel color) {
    std::lock_guard guard(font.Lock());
    const int baseline = top + font.Ascent();
    int pen = x;
    for (char32_t c : text) {
        const Glyph& glyph = font.GlyphFor(c);
        if (pen + glyph.left < canvas.Clip().right) PaintGlyph(canvas, glyph, pen, baseline, color);
        pen += glyph.advance;
    }
    return pen - x;
}
