#include "platform/ui/ScrollBar.h"

#include <algorithm>

#include "platform/gdi/StockObjects.h"

namespace {

constexpr int kMinThumb = 8;
constexpr COLORREF kTrackColor = 0xE0E0E0;

// The scrollable span: positions nMin .. nMax - nPage + 1.
int MaxPos(const SCROLLINFO& info) {
    const int page = static_cast<int>(std::max<UINT>(info.nPage, 1));
    return std::max(info.nMin, info.nMax - page + 1);
}

void PaintArrow(CDC& dc, const CRect& box, bool up) {
    dc.FillSolidRect(box, GetSysColor(COLOR_BTNFACE));
    dc.Draw3dRect(box, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    // A small triangle, three rows high.
    for (int row = 0; row < 4; ++row) {
        const int y = up ? cy - 2 + row : cy + 1 - row;
        dc.FillSolidRect(CRect(cx - row, y, cx + row + 1, y + 1), GetSysColor(COLOR_BTNTEXT));
    }
}

}  // namespace

ScrollBarParts LayOutScrollBar(const CRect& bar, const SCROLLINFO& info) {
    ScrollBarParts p;
    const int arrow = std::min(kScrollBarWidth, bar.Height() / 2);
    p.upArrow = CRect(bar.left, bar.top, bar.right, bar.top + arrow);
    p.downArrow = CRect(bar.left, bar.bottom - arrow, bar.right, bar.bottom);
    p.track = CRect(bar.left, p.upArrow.bottom, bar.right, p.downArrow.top);
    const long long range = static_cast<long long>(info.nMax) - info.nMin + 1;
    if (range <= 0 || info.nPage == 0 || info.nPage >= range || p.track.Height() < kMinThumb) return p;
    const int track = p.track.Height();
    const int size = std::max<int>(kMinThumb, static_cast<int>(track * static_cast<long long>(info.nPage) / range));
    const int span = MaxPos(info) - info.nMin;
    const int offset = span > 0 ? static_cast<int>(static_cast<long long>(track - size) * (info.nPos - info.nMin) / span) : 0;
    p.thumb = CRect(bar.left, p.track.top + offset, bar.right, p.track.top + offset + size);
    return p;
}

void PaintScrollBar(CDC& dc, const CRect& bar, const SCROLLINFO& info) {
    const ScrollBarParts p = LayOutScrollBar(bar, info);
    // The track is lighter than the thumb and arrows, so the thumb stands out.
    dc.FillSolidRect(p.track, kTrackColor);
    PaintArrow(dc, p.upArrow, true);
    PaintArrow(dc, p.downArrow, false);
    if (!p.thumb.IsRectEmpty()) {
        dc.FillSolidRect(p.thumb, GetSysColor(COLOR_BTNFACE));
        dc.Draw3dRect(p.thumb, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
}

UINT ScrollBarHit(const CRect& bar, const SCROLLINFO& info, CPoint at) {
    const ScrollBarParts p = LayOutScrollBar(bar, info);
    if (p.upArrow.PtInRect(at)) return SB_LINEUP;
    if (p.downArrow.PtInRect(at)) return SB_LINEDOWN;
    if (p.thumb.IsRectEmpty() || !p.track.PtInRect(at)) return SB_ENDSCROLL;
    if (p.thumb.PtInRect(at)) return SB_THUMBTRACK;
    return at.y < p.thumb.top ? SB_PAGEUP : SB_PAGEDOWN;
}

int ScrollPosForThumb(const CRect& bar, const SCROLLINFO& info, int thumbTop) {
    const ScrollBarParts p = LayOutScrollBar(bar, info);
    const int room = p.track.Height() - p.thumb.Height();
    if (p.thumb.IsRectEmpty() || room <= 0) return info.nMin;
    const int offset = std::clamp(thumbTop - p.track.top, 0, room);
    return info.nMin + static_cast<int>(static_cast<long long>(MaxPos(info) - info.nMin) * offset / room);
}
