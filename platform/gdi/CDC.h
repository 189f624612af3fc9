#pragma once
// The device context: draws onto a 32-bit surface with the selected pen, brush and font, in
// logical coordinates moved by the viewport origin, inside a clip rectangle.
//
// Two kinds, as on the platform:
//  - a window context draws onto a surface that its owner keeps (AttachSurface); the window
//    system sets the origin and clip of each window's context;
//  - a memory context (CreateCompatibleDC) draws into the bitmap selected into it, a 1 x 1
//    default bitmap until the caller selects one.
//
// Pixel rules: rectangles hold their left and top edges and not their right and bottom ones;
// LineTo does not draw its end point; text is drawn with the top of its cell at the given
// point; nothing is drawn outside the clip rectangle and the surface.
//
// Objects selected into a context stay selected until replaced, RestoreDC or the context's
// end; DeleteObject refuses them meanwhile. A context is used by one thread at a time.
#include <optional>
#include <string_view>
#include <vector>

#include "platform/core/CString.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CSurface.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/LogFont.h"
#include "platform/gdi/TextLayout.h"

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Stretch modes: every mode keeps whole rows and columns (colour-on-colour rule).
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
// Clip results.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
// GetPixel outside the clip or the surface.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
// GetDeviceCaps indices and raster capabilities.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_STRETCHDIB = 0x2000;
constexpr int kScreenDpi = 96;

class CDC;
using HDC = CDC*;

class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // --- contexts
    // Makes this a memory context; `other` (may be nullptr) is accepted as the platform takes it.
    BOOL CreateCompatibleDC(CDC* other);
    // Makes this a window context drawing onto `surface`, which must outlive the context's
    // use (nullptr detaches).
    void AttachSurface(CSurface* surface);
    // Deselects everything and detaches; the context can be made again.
    BOOL DeleteDC();
    HDC GetSafeHdc() { return this; }
    // The surface drawn on now (a memory context's selected bitmap), or nullptr; for reading
    // only: drawing goes through the context's calls. For a DIB section this is a decoded copy.
    const CSurface* GetSurface();

    // --- objects
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    // Any wrapper, as SelectStockObject returns them.
    CGdiObject* SelectObject(CGdiObject* object);
    // Any pen, brush, font or bitmap handle; returns the one it replaced, nullptr on failure
    // (a bitmap in a window context or one selected into another context).
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL background);
    HPALETTE SelectPalette(HPALETTE palette, BOOL background);
    // The entries of the selected palette made available: all of them on a true-colour surface.
    UINT RealizePalette();
    CFont* GetCurrentFont() const { return CFont::FromHandle(m_state.font); }
    CPen* GetCurrentPen() const { return CPen::FromHandle(m_state.pen); }
    CBrush* GetCurrentBrush() const { return CBrush::FromHandle(m_state.brush); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle(m_state.bitmap); }
    HPALETTE GetCurrentPalette() const { return m_state.palette; }

    // --- attributes
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_state.bkColor; }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_state.bkMode; }
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const { return m_state.stretchMode; }
    int GetDeviceCaps(int index);

    // --- coordinates and clipping
    CPoint SetViewportOrg(int x, int y);
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const { return m_state.origin; }
    // Narrows the clip to a rectangle in logical coordinates.
    int IntersectClipRect(const RECT& rect);
    int IntersectClipRect(int l, int t, int r, int b) { return IntersectClipRect(CRect(l, t, r, b)); }
    // Sets the clip to a rectangle in device coordinates, or to the whole surface (nullptr).
    int SelectClipRect(const RECT* deviceRect);
    // The clip in logical coordinates.
    int GetClipBox(RECT* rect);
    // Pushes the attributes, selections, origin and clip; RestoreDC(-1) pops the last,
    // RestoreDC(n) returns to the state that SaveDC numbered n.
    int SaveDC();
    BOOL RestoreDC(int saved);

    // --- drawing
    void FillSolidRect(const RECT& rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color) { FillSolidRect(CRect(x, y, x + cx, y + cy), color); }
    void FillRect(const RECT* rect, CBrush* brush) { FillRect(rect, brush ? brush->GetHandle() : nullptr); }
    // A control-colour handler's brush handle; the hollow brush fills nothing.
    void FillRect(const RECT* rect, HBRUSH brush);
    void FrameRect(const RECT* rect, CBrush* brush);
    // Outline with the pen, inside with the brush; without a pen the fill spans one pixel
    // less to the right and bottom, as on the platform.
    BOOL Rectangle(int l, int t, int r, int b);
    BOOL Rectangle(const RECT* rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
    // Top and left edges in one colour, bottom and right edges in the other.
    void Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight);
    void InvertRect(const RECT* rect);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_state.position; }
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF GetPixel(int x, int y);
    // Inverts a dotted one-pixel frame (every other pixel): a second call restores it.
    void DrawFocusRect(const RECT* rect);
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop);
    BOOL BitBlt(int x, int y, int w, int h, CDC* source, int sx, int sy, DWORD rop);
    BOOL StretchBlt(int x, int y, int w, int h, CDC* source, int sx, int sy, int sw, int sh, DWORD rop);
    // Copies from a surface, scaled by the colour-on-colour rule (StretchDIBits, image lists).
    BOOL StretchSurface(int x, int y, int w, int h, const CSurface& source, int sx, int sy, int sw, int sh, DWORD rop);
    // The same from a source of `sourceSize` that gives only the pixels drawn (StretchDIBits of
    // an image too large to decode whole).
    BOOL StretchSampled(int x, int y, int w, int h, CSize sourceSize, int sx, int sy, int sw, int sh, DWORD rop,
                        const RowSampler& sample);
    // Copies from a surface leaving out the pixels of colour `key` (image lists).
    BOOL DrawKeyed(int x, int y, int w, int h, const CSurface& source, int sx, int sy, Pixel key);

    // --- text
    BOOL TextOut(int x, int y, const char* text, int length);
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.c_str(), text.GetLength()); }
    // A negative length means a zero-terminated text. Returns the text's height (the offset
    // from the rectangle's top to the text's bottom with DT_VCENTER or DT_BOTTOM); with
    // DT_CALCRECT only sets the rectangle's right and bottom to the text's extent.
    int DrawText(const char* text, int length, RECT* rect, UINT format);
    int DrawText(const CString& text, RECT* rect, UINT format) { return DrawText(text.c_str(), text.GetLength(), rect, format); }
    CSize GetTextExtent(const char* text, int length);
    CSize GetTextExtent(const CString& text) { return GetTextExtent(text.c_str(), text.GetLength()); }
    BOOL GetTextMetrics(TEXTMETRIC* metrics);

private:
    struct State {
        HPEN pen = nullptr;
        HBRUSH brush = nullptr;
        HFONT font = nullptr;
        HBITMAP bitmap = nullptr;
        HPALETTE palette = nullptr;
        COLORREF textColor = 0;
        COLORREF bkColor = 0xFFFFFF;
        int bkMode = OPAQUE;
        int stretchMode = BLACKONWHITE;
        CPoint origin;
        std::optional<CRect> clip;  // device coordinates; none = the whole surface
        CPoint position;
    };

    // Runs `draw` on a canvas over the target (narrowed to `extraClip`, device coordinates);
    // FALSE without a target.
    template <typename Draw>
    BOOL Paint(Draw&& draw, const CRect* extraClip = nullptr);
    CRect ToDevice(const RECT& rect) const;
    CPoint ToDevice(int x, int y) const;
    FontInstance& Font();
    template <typename Handle>
    Handle Replace(Handle& slot, Handle object);
    void HoldAll(const State& state);
    void ReleaseAll(const State& state);

    CSurface* m_window = nullptr;  // a window context's surface
    bool m_memory = false;
    State m_state;
    std::vector<State> m_saved;
};

// The same calls on a context handle.
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL background);
UINT RealizePalette(HDC dc);
