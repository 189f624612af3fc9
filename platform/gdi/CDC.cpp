#include "platform/gdi/CDC.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/RasterOp.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/TextCodec.h"
#include "platform/gdi/TextPainter.h"

namespace {

// The bitmap of a fresh memory context: one pixel, shared, never deleted.
HBITMAP DefaultBitmap() {
    static HBITMAP bitmap = [] {
        auto* b = new GdiBitmap(1, 1);
        b->MarkStock();
        return b;
    }();
    return bitmap;
}

std::string_view Text(const char* text, int length) {
    if (!text) return {};
    return length < 0 ? std::string_view(text) : std::string_view(text, static_cast<size_t>(length));
}

int RegionKind(const CRect& r) { return r.IsRectEmpty() ? NULLREGION : SIMPLEREGION; }

// A one-pixel frame just inside `r` (device coordinates).
void Frame(Canvas& c, const CRect& r, Pixel p) {
    c.Fill({r.left, r.top, r.right, r.top + 1}, p);
    c.Fill({r.left, r.bottom - 1, r.right, r.bottom}, p);
    c.Fill({r.left, r.top, r.left + 1, r.bottom}, p);
    c.Fill({r.right - 1, r.top, r.right, r.bottom}, p);
}

// Logical plus origin, saturated so that no caller's coordinate overflows on its way to the
// canvas (the canvas computes in 64 bits where extents are added).
using Wide = long long;
constexpr Wide kDeviceLimit = Wide{1} << 30;
int Saturate(Wide v) { return static_cast<int>(std::clamp(v, -kDeviceLimit, kDeviceLimit)); }

// The brush colour as a raster operation's pattern (black for the hollow brush).
Pixel Pattern(HBRUSH brush) { return brush && brush->Fills() ? PixelFromColor(brush->Color()) : 0; }

}  // namespace

// ---------------------------------------------------------------- contexts

CDC::CDC() {
    m_state.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    m_state.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    m_state.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    m_state.palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    HoldAll(m_state);
}

CDC::~CDC() {
    DeleteDC();
    ReleaseAll(m_state);
}

BOOL CDC::CreateCompatibleDC(CDC*) {
    DeleteDC();
    m_memory = true;
    Replace(m_state.bitmap, DefaultBitmap());
    return TRUE;
}

void CDC::AttachSurface(CSurface* surface) {
    DeleteDC();
    m_window = surface;
}

BOOL CDC::DeleteDC() {
    while (!m_saved.empty()) RestoreDC(-1);
    Replace(m_state.bitmap, HBITMAP{});
    m_window = nullptr;
    m_memory = false;
    return TRUE;
}

const CSurface* CDC::GetSurface() {
    if (m_window) return m_window;
    return m_state.bitmap ? &m_state.bitmap->Pixels() : nullptr;
}

template <typename Draw>
BOOL CDC::Paint(Draw&& draw, const CRect* extraClip) {
    HBITMAP bitmap = m_window ? nullptr : m_state.bitmap;
    if (bitmap && bitmap->IsStock()) return FALSE;  // the shared default bitmap stays as it is
    CSurface* target = m_window ? m_window : (bitmap ? &bitmap->BeginDraw() : nullptr);
    if (!target) return FALSE;
    CRect clip = m_state.clip.value_or(target->Bounds());
    if (extraClip) clip.IntersectRect(clip, *extraClip);
    Canvas canvas(*target, clip);
    draw(canvas);
    if (bitmap) bitmap->EndDraw();
    return TRUE;
}

CRect CDC::ToDevice(const RECT& rect) const {
    const CPoint o = m_state.origin;
    return {Saturate(Wide{rect.left} + o.x), Saturate(Wide{rect.top} + o.y), Saturate(Wide{rect.right} + o.x),
            Saturate(Wide{rect.bottom} + o.y)};
}

CPoint CDC::ToDevice(int x, int y) const {
    return {Saturate(Wide{x} + m_state.origin.x), Saturate(Wide{y} + m_state.origin.y)};
}

// ---------------------------------------------------------------- objects

template <typename Handle>
Handle CDC::Replace(Handle& slot, Handle object) {
    Handle old = slot;
    if (object) object->AddSelection();
    slot = object;
    if (!old) return old;
    // An object whose owner has gone ends here; there is nothing left to give back.
    const bool ends = old->EndsWithLastSelection();
    old->RemoveSelection();
    return ends ? nullptr : old;
}

void CDC::HoldAll(const State& s) {
    for (HGDIOBJ o : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.bitmap), HGDIOBJ(s.palette)})
        if (o) o->AddSelection();
}

void CDC::ReleaseAll(const State& s) {
    for (HGDIOBJ o : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.bitmap), HGDIOBJ(s.palette)})
        if (o) o->RemoveSelection();
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    if (!object) return nullptr;
    switch (object->Kind()) {
        case GdiKind::pen: return Replace(m_state.pen, static_cast<HPEN>(object));
        case GdiKind::brush: return Replace(m_state.brush, static_cast<HBRUSH>(object));
        case GdiKind::font: return Replace(m_state.font, static_cast<HFONT>(object));
        case GdiKind::bitmap:
            // A bitmap lives in one memory context at a time.
            if (!m_memory || (object->IsSelected() && !object->IsStock() && object != m_state.bitmap)) return nullptr;
            return Replace(m_state.bitmap, static_cast<HBITMAP>(object));
        case GdiKind::palette: return nullptr;  // palettes go through SelectPalette
    }
    return nullptr;
}

CPen* CDC::SelectObject(CPen* pen) { return pen ? CPen::FromHandle(static_cast<HPEN>(SelectObject(pen->m_hObject))) : nullptr; }
CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(brush->m_hObject))) : nullptr;
}
CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(static_cast<HFONT>(SelectObject(font->m_hObject))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(bitmap->m_hObject))) : nullptr;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return object ? CGdiObject::FromHandle(SelectObject(object->m_hObject)) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
    HGDIOBJ stock = GetStockObject(index);
    if (stock && stock->Kind() == GdiKind::palette) return CPalette::FromHandle(SelectPalette(static_cast<HPALETTE>(stock), FALSE));
    return CGdiObject::FromHandle(SelectObject(stock));
}

HPALETTE CDC::SelectPalette(HPALETTE palette, BOOL) { return palette ? Replace(m_state.palette, palette) : nullptr; }

CPalette* CDC::SelectPalette(CPalette* palette, BOOL background) {
    return palette ? CPalette::FromHandle(SelectPalette(palette->GetHandle(), background)) : nullptr;
}

UINT CDC::RealizePalette() { return m_state.palette ? static_cast<UINT>(m_state.palette->Entries().size()) : 0; }

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL background) {
    return dc ? dc->SelectPalette(palette, background) : nullptr;
}

UINT RealizePalette(HDC dc) { return dc ? dc->RealizePalette() : 0; }

// ---------------------------------------------------------------- attributes

COLORREF CDC::SetTextColor(COLORREF color) { return std::exchange(m_state.textColor, color); }
COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(m_state.bkColor, color); }
int CDC::SetBkMode(int mode) { return mode == TRANSPARENT || mode == OPAQUE ? std::exchange(m_state.bkMode, mode) : 0; }
int CDC::SetStretchBltMode(int mode) {
    return mode >= BLACKONWHITE && mode <= HALFTONE ? std::exchange(m_state.stretchMode, mode) : 0;
}

int CDC::GetDeviceCaps(int index) {
    const CSurface* surface = GetSurface();
    switch (index) {
        case HORZRES: return surface ? surface->Width() : 0;
        case VERTRES: return surface ? surface->Height() : 0;
        case BITSPIXEL: return 32;
        case PLANES: return 1;
        case NUMCOLORS: return -1;
        case RASTERCAPS: return RC_BITBLT | RC_DI_BITMAP | RC_STRETCHBLT | RC_STRETCHDIB;  // no palette device
        case LOGPIXELSX:
        case LOGPIXELSY: return kScreenDpi;
        case SIZEPALETTE: return 0;
        default: return 0;
    }
}

// ---------------------------------------------------------------- coordinates and clipping

CPoint CDC::SetViewportOrg(int x, int y) { return std::exchange(m_state.origin, CPoint(Saturate(x), Saturate(y))); }
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    return SetViewportOrg(Saturate(Wide{m_state.origin.x} + dx), Saturate(Wide{m_state.origin.y} + dy));
}

int CDC::IntersectClipRect(const RECT& rect) {
    const CSurface* surface = GetSurface();
    if (!surface) return RGN_ERROR;
    CRect clip;
    clip.IntersectRect(m_state.clip.value_or(surface->Bounds()), ToDevice(rect));
    m_state.clip = clip;
    return RegionKind(clip);
}

int CDC::SelectClipRect(const RECT* deviceRect) {
    if (deviceRect) m_state.clip = CRect(*deviceRect);
    else m_state.clip.reset();
    const CSurface* surface = GetSurface();
    if (!surface) return RGN_ERROR;
    CRect visible;
    visible.IntersectRect(m_state.clip.value_or(surface->Bounds()), surface->Bounds());
    return RegionKind(visible);
}

int CDC::GetClipBox(RECT* rect) {
    const CSurface* surface = GetSurface();
    if (!rect || !surface) return RGN_ERROR;
    CRect box;
    box.IntersectRect(m_state.clip.value_or(surface->Bounds()), surface->Bounds());
    if (!box.IsRectEmpty()) box.OffsetRect(-m_state.origin.x, -m_state.origin.y);
    *rect = box;
    return RegionKind(box);
}

int CDC::SaveDC() {
    HoldAll(m_state);
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int saved) {
    const int count = static_cast<int>(m_saved.size());
    const int target = saved < 0 ? count + saved + 1 : saved;
    if (target < 1 || target > count) return FALSE;
    while (static_cast<int>(m_saved.size()) > target) {
        ReleaseAll(m_saved.back());
        m_saved.pop_back();
    }
    ReleaseAll(m_state);
    m_state = m_saved.back();  // the saved state's holds pass to the current state
    m_saved.pop_back();
    return TRUE;
}

// ---------------------------------------------------------------- drawing

void CDC::FillSolidRect(const RECT& rect, COLORREF color) {
    Paint([&](Canvas& c) { c.Fill(ToDevice(rect), PixelFromColor(color)); });
}

void CDC::FillRect(const RECT* rect, HBRUSH brush) {
    if (rect && brush && brush->Fills()) FillSolidRect(*rect, brush->Color());
}

void CDC::FrameRect(const RECT* rect, CBrush* brush) {
    HBRUSH b = brush ? brush->GetHandle() : nullptr;
    if (!rect || !b || !b->Fills() || CRect(*rect).IsRectEmpty()) return;
    Paint([&](Canvas& c) { Frame(c, ToDevice(*rect), PixelFromColor(b->Color())); });
}

BOOL CDC::Rectangle(int l, int t, int r, int b) {
    const CRect d = ToDevice(CRect(l, t, r, b));
    const bool outline = m_state.pen && m_state.pen->Draws();
    return Paint([&](Canvas& c) {
        if (m_state.brush && m_state.brush->Fills()) {
            const CRect inside = outline ? CRect(d.left + 1, d.top + 1, d.right - 1, d.bottom - 1)
                                         : CRect(d.left, d.top, d.right - 1, d.bottom - 1);
            c.Fill(inside, PixelFromColor(m_state.brush->Color()));
        }
        if (outline && !d.IsRectEmpty()) Frame(c, d, PixelFromColor(m_state.pen->Color()));
    });
}

void CDC::Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight) {
    if (!rect || CRect(*rect).IsRectEmpty()) return;
    const CRect r = ToDevice(*rect);
    Paint([&](Canvas& c) {
        c.Fill({r.left, r.top, r.right - 1, r.top + 1}, PixelFromColor(topLeft));
        c.Fill({r.left, r.top, r.left + 1, r.bottom - 1}, PixelFromColor(topLeft));
        c.Fill({r.right - 1, r.top, r.right, r.bottom}, PixelFromColor(bottomRight));
        c.Fill({r.left, r.bottom - 1, r.right, r.bottom}, PixelFromColor(bottomRight));
    });
}

void CDC::InvertRect(const RECT* rect) {
    if (rect) PatBlt(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, DSTINVERT);
}

CPoint CDC::MoveTo(int x, int y) { return std::exchange(m_state.position, CPoint(x, y)); }

BOOL CDC::LineTo(int x, int y) {
    const CPoint from = MoveTo(x, y);
    if (!m_state.pen || !m_state.pen->Draws()) return TRUE;
    const Pixel p = PixelFromColor(m_state.pen->Color());
    const bool dotted = m_state.pen->Style() == PS_DOT;
    const CPoint a = ToDevice(from.x, from.y), b = ToDevice(x, y);
    return Paint([&](Canvas& c) { c.Line(a.x, a.y, b.x, b.y, p, dotted); });
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    const CPoint d = ToDevice(x, y);
    const BOOL drawn = Paint([&](Canvas& c) { c.Plot(d.x, d.y, PixelFromColor(color)); });
    return drawn ? color : CLR_INVALID;
}

COLORREF CDC::GetPixel(int x, int y) {
    const CSurface* surface = GetSurface();
    if (!surface) return CLR_INVALID;
    const CPoint d = ToDevice(x, y);
    const CRect clip = m_state.clip.value_or(surface->Bounds());
    if (!surface->Contains(d.x, d.y) || !clip.PtInRect(d)) return CLR_INVALID;
    return ColorFromPixel(surface->At(d.x, d.y));
}

void CDC::DrawFocusRect(const RECT* rect) {
    if (rect) Paint([&](Canvas& c) { c.InvertDottedFrame(ToDevice(*rect)); });
}

BOOL CDC::PatBlt(int x, int y, int w, int h, DWORD rop) {
    const Pixel pattern = Pattern(m_state.brush);
    const CRect r = ToDevice(CRect(std::min(x, x + w), std::min(y, y + h), std::max(x, x + w), std::max(y, y + h)));
    return Paint([&](Canvas& c) { c.PatternFill(r, rop, pattern); });
}

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* source, int sx, int sy, DWORD rop) {
    return StretchBlt(x, y, w, h, source, sx, sy, w, h, rop);
}

BOOL CDC::StretchBlt(int x, int y, int w, int h, CDC* source, int sx, int sy, int sw, int sh, DWORD rop) {
    if (!RopUsesSource(rop)) return PatBlt(x, y, w, h, rop);
    const CSurface* pixels = source ? source->GetSurface() : nullptr;
    if (!pixels) return FALSE;
    const CPoint from = source->ToDevice(sx, sy);
    return StretchSurface(x, y, w, h, *pixels, from.x, from.y, sw, sh, rop);
}

BOOL CDC::StretchSurface(int x, int y, int w, int h, const CSurface& source, int sx, int sy, int sw, int sh, DWORD rop) {
    const Pixel pattern = Pattern(m_state.brush);
    const CPoint d = ToDevice(x, y);
    return Paint([&](Canvas& c) { c.Stretch(d.x, d.y, w, h, source, sx, sy, sw, sh, rop, pattern); });
}

BOOL CDC::StretchSampled(int x, int y, int w, int h, CSize sourceSize, int sx, int sy, int sw, int sh, DWORD rop,
                         const RowSampler& sample) {
    const Pixel pattern = Pattern(m_state.brush);
    const CPoint d = ToDevice(x, y);
    return Paint([&](Canvas& c) { c.Stretch(d.x, d.y, w, h, sourceSize, sx, sy, sw, sh, rop, pattern, sample); });
}

BOOL CDC::DrawKeyed(int x, int y, int w, int h, const CSurface& source, int sx, int sy, Pixel key) {
    const CPoint d = ToDevice(x, y);
    return Paint([&](Canvas& c) { c.BlitKeyed(d.x, d.y, w, h, source, sx, sy, key); });
}

// ---------------------------------------------------------------- text

FontInstance& CDC::Font() { return m_state.font->Instance(); }  // a context always has a font

BOOL CDC::TextOut(int x, int y, const char* text, int length) {
    const std::u32string run = DecodeText(Text(text, length));
    FontInstance& font = Font();
    const CRect cell = ToDevice(CRect(x, y, x + font.Measure(run), y + font.Height()));
    return Paint([&](Canvas& c) {
        if (m_state.bkMode == OPAQUE) c.Fill(cell, PixelFromColor(m_state.bkColor));
        PaintText(c, font, run, cell.left, cell.top, PixelFromColor(m_state.textColor));
    });
}

int CDC::DrawText(const char* text, int length, RECT* rect, UINT format) {
    if (!rect) return 0;
    FontInstance& font = Font();
    const TextBlock block = LayOutText(Text(text, length), *rect, format, font);
    const bool aligned = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
    const int result = aligned ? block.bounds.bottom - rect->top : block.bounds.Height();
    if (format & DT_CALCRECT) {
        rect->right = rect->left + block.bounds.Width();
        rect->bottom = rect->top + block.bounds.Height();
        return result;
    }
    const CRect limit = ToDevice(*rect);
    Paint(
        [&](Canvas& c) {
            for (const TextLine& line : block.lines) {
                const CRect cell = ToDevice(CRect(line.x, line.y, line.x + line.width, line.y + font.Height()));
                if (m_state.bkMode == OPAQUE) c.Fill(cell, PixelFromColor(m_state.bkColor));
                PaintText(c, font, line.text, cell.left, cell.top, PixelFromColor(m_state.textColor));
            }
        },
        (format & DT_NOCLIP) ? nullptr : &limit);
    return result;
}

CSize CDC::GetTextExtent(const char* text, int length) {
    FontInstance& font = Font();
    return {font.Measure(DecodeText(Text(text, length))), font.Height()};
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) {
    if (!metrics) return FALSE;
    FontInstance& font = Font();
    const LOGFONT& description = m_state.font->Description();
    *metrics = TEXTMETRIC{};
    metrics->tmHeight = font.Height();
    metrics->tmAscent = font.Ascent();
    metrics->tmDescent = font.Descent();
    metrics->tmInternalLeading = std::max(font.Height() - font.EmSize(), 0);
    metrics->tmAveCharWidth = font.Measure(U"x");
    metrics->tmMaxCharWidth = font.Measure(U"W");
    metrics->tmWeight = description.lfWeight;
    metrics->tmItalic = description.lfItalic;
    return TRUE;
}
