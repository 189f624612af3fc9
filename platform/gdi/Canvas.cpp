#include "platform/gdi/Canvas.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gdi/RasterOp.h"

namespace {

constexpr int kCoordinateLimit = 1 << 27;

// Source index for each destination index of a stretched axis inside [clipLow, clipHigh);
// -1 where it leaves the source. Computed in 64 bits: extents may be any int.
std::vector<int> AxisMap(int destStart, int destExtent, int srcStart, int srcExtent, int clipLow, int clipHigh,
                         int srcLimit, int& first) {
    using Wide = long long;
    const Wide dn = std::abs(Wide{destExtent}), sn = std::abs(Wide{srcExtent});
    const bool mirror = (destExtent < 0) != (srcExtent < 0);
    // A negative extent runs from the start point backwards.
    const Wide lowDest = destExtent < 0 ? Wide{destStart} + destExtent + 1 : destStart;
    const Wide lowSrc = srcExtent < 0 ? Wide{srcStart} + srcExtent + 1 : srcStart;
    const Wide from = std::max<Wide>(lowDest, clipLow), to = std::min<Wide>(lowDest + dn, clipHigh);
    first = static_cast<int>(from);
    std::vector<int> map;
    for (Wide d = from; d < to; ++d) {
        const Wide k = (2 * (d - lowDest) + 1) * sn / (2 * dn);
        const Wide s = lowSrc + (mirror ? sn - 1 - k : k);
        map.push_back(s >= 0 && s < srcLimit ? static_cast<int>(s) : -1);
    }
    return map;
}

}  // namespace

Canvas::Canvas(CSurface& surface, const CRect& clip) : m_surface(surface) { m_clip.IntersectRect(clip, surface.Bounds()); }

void Canvas::Fill(const CRect& rect, Pixel color) {
    CRect r;
    if (r.IntersectRect(rect, m_clip)) m_surface.Fill(r, color);
}

void Canvas::Line(int x0, int y0, int x1, int y1, Pixel color, bool dotted) {
    if (y0 == y1 || x0 == x1) return StraightLine(x0, y0, x1, y1, color, dotted);
    // Slanted lines: within the platform's 27-bit range, stepped along their longer axis and
    // only over the steps that fall inside the clip on that axis.
    for (int* v : {&x0, &y0, &x1, &y1}) *v = std::clamp(*v, -kCoordinateLimit, kCoordinateLimit);
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const long long major0 = xMajor ? x0 : y0, major1 = xMajor ? x1 : y1;
    const long long minor0 = xMajor ? y0 : x0, minor1 = xMajor ? y1 : x1;
    const long long length = std::abs(major1 - major0), rise = std::abs(minor1 - minor0);
    const long long step = major1 > major0 ? 1 : -1, minorStep = minor1 > minor0 ? 1 : -1;
    const long long low = xMajor ? m_clip.left : m_clip.top, high = (xMajor ? m_clip.right : m_clip.bottom) - 1;
    const long long first = std::max(step > 0 ? low - major0 : major0 - high, 0LL);
    const long long last = std::min(step > 0 ? high - major0 : major0 - low, length - 1);
    for (long long n = first; n <= last; ++n) {
        if (dotted && n % 2 != 0) continue;
        // The minor coordinate rounded to the nearest pixel, halves toward the start, so that
        // (0, 0) to (4, 2) draws (0, 0) (1, 0) (2, 1) (3, 1).
        const long long minor = minor0 + minorStep * ((2 * n * rise + length - 1) / (2 * length));
        const long long major = major0 + n * step;
        Plot(static_cast<int>(xMajor ? major : minor), static_cast<int>(xMajor ? minor : major), color);
    }
}

void Canvas::StraightLine(int x0, int y0, int x1, int y1, Pixel color, bool dotted) {
    // Only the part inside the clip is visited; a dotted line keeps its phase from (x0, y0).
    const bool horizontal = y0 == y1;
    const long long from = horizontal ? x0 : y0, to = horizontal ? x1 : y1;
    const long long step = to > from ? 1 : -1;
    const long long low = horizontal ? m_clip.left : m_clip.top, high = (horizontal ? m_clip.right : m_clip.bottom) - 1;
    if ((horizontal && !(y0 >= m_clip.top && y0 < m_clip.bottom)) || (!horizontal && !(x0 >= m_clip.left && x0 < m_clip.right)))
        return;
    // Steps n in [0, |to - from|) put the pen at from + n * step; keep those inside [low, high].
    const long long count = step * (to - from);
    long long first = step > 0 ? low - from : from - high, last = step > 0 ? high - from : from - low;
    first = std::max(first, 0LL);
    last = std::min(last, count - 1);
    for (long long n = first; n <= last; ++n) {
        if (dotted && n % 2 != 0) continue;
        const int v = static_cast<int>(from + n * step);
        if (horizontal) m_surface.At(v, y0) = color;
        else m_surface.At(x0, v) = color;
    }
}

void Canvas::InvertDottedFrame(const CRect& rect) {
    if (rect.IsRectEmpty()) return;
    auto invert = [this](int x, int y) {
        if ((x + y) % 2 == 0 && m_clip.PtInRect({x, y})) m_surface.At(x, y) ^= 0xFFFFFF;
    };
    for (int x = rect.left; x < rect.right; ++x) {
        invert(x, rect.top);
        if (rect.bottom - 1 > rect.top) invert(x, rect.bottom - 1);
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        invert(rect.left, y);
        if (rect.right - 1 > rect.left) invert(rect.right - 1, y);
    }
}

void Canvas::Blit(int x, int y, int w, int h, const CSurface& source, int sx, int sy, DWORD rop, Pixel pattern) {
    Stretch(x, y, w, h, source, sx, sy, w, h, rop, pattern);
}

void Canvas::Stretch(int x, int y, int w, int h, const CSurface& source, int sx, int sy, int sw, int sh, DWORD rop,
                     Pixel pattern) {
    // Reading and writing one surface: take the source rows first so nothing is read after
    // it was overwritten.
    const bool same = &source == &m_surface;
    const CSurface copy = same ? source : CSurface();
    const CSurface& from = same ? copy : source;
    Stretch(x, y, w, h, CSize(from.Width(), from.Height()), sx, sy, sw, sh, rop, pattern,
            [&from](int row, std::span<const int> columns, Pixel* out) {
                const Pixel* in = from.Row(row);
                for (size_t c = 0; c < columns.size(); ++c)
                    if (columns[c] >= 0) out[c] = in[columns[c]];
            });
}

void Canvas::Stretch(int x, int y, int w, int h, CSize sourceSize, int sx, int sy, int sw, int sh, DWORD rop,
                     Pixel pattern, const RowSampler& sample) {
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return;
    int firstX = 0, firstY = 0;
    const auto columns = AxisMap(x, w, sx, sw, m_clip.left, m_clip.right, sourceSize.cx, firstX);
    const auto rows = AxisMap(y, h, sy, sh, m_clip.top, m_clip.bottom, sourceSize.cy, firstY);
    if (columns.empty() || rows.empty()) return;
    std::vector<Pixel> sampled(columns.size());
    const BYTE table = RopTable(rop);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r] < 0) continue;
        sample(rows[r], columns, sampled.data());
        Pixel* out = m_surface.Row(firstY + static_cast<int>(r)) + firstX;
        for (size_t c = 0; c < columns.size(); ++c) {
            if (columns[c] < 0) continue;
            out[c] = rop == SRCCOPY ? sampled[c] : ApplyRop(table, pattern, sampled[c], out[c]);
        }
    }
}

void Canvas::PatternFill(const CRect& rect, DWORD rop, Pixel pattern) {
    CRect r;
    if (!r.IntersectRect(rect, m_clip)) return;
    const BYTE table = RopTable(rop);
    for (int y = r.top; y < r.bottom; ++y) {
        Pixel* row = m_surface.Row(y);
        for (int x = r.left; x < r.right; ++x) row[x] = ApplyRop(table, pattern, 0, row[x]);
    }
}

void Canvas::BlitKeyed(int x, int y, int w, int h, const CSurface& source, int sx, int sy, Pixel key) {
    CRect area;
    if (!area.IntersectRect(CRect(x, y, x + w, y + h), m_clip)) return;
    for (int dy = area.top; dy < area.bottom; ++dy) {
        const int srcY = sy + dy - y;
        if (srcY < 0 || srcY >= source.Height()) continue;
        for (int dx = area.left; dx < area.right; ++dx) {
            const int srcX = sx + dx - x;
            if (srcX < 0 || srcX >= source.Width()) continue;
            const Pixel p = source.At(srcX, srcY);
            if (p != key) m_surface.At(dx, dy) = p;
        }
    }
}
