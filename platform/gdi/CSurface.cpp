#include "platform/gdi/CSurface.h"

#include <algorithm>

CSurface::CSurface(int width, int height, Pixel fill) { Reset(width, height, fill); }

void CSurface::Reset(int width, int height, Pixel fill) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_pixels.assign(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), fill);
}

void CSurface::Fill(const CRect& rect, Pixel color) {
    CRect r;
    if (!r.IntersectRect(rect, Bounds())) return;
    for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, color);
}
