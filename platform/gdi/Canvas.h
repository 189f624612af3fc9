#pragma once
// Pixel work on a surface inside a clip rectangle, in device coordinates. Everything the
// contexts draw ends here; nothing is ever written outside the clip or the surface.
#include "platform/gdi/CSurface.h"

class Canvas {
public:
    // `clip` is cut to the surface.
    Canvas(CSurface& surface, const CRect& clip);

    const CRect& Clip() const { return m_clip; }
    CSurface& Surface() { return m_surface; }

    void Fill(const CRect& rect, Pixel color);
    void Plot(int x, int y, Pixel color) {
        if (m_clip.PtInRect({x, y})) m_surface.At(x, y) = color;
    }
    // A one-pixel line from (x0, y0) towards (x1, y1), the end point not drawn. `dotted`
    // draws every other pixel, starting with the first.
    void Line(int x0, int y0, int x1, int y1, Pixel color, bool dotted);
    // Inverts every other pixel of the rectangle's one-pixel frame: those whose x + y is even.
    void InvertDottedFrame(const CRect& rect);
    // Combines a w x h block of `source` at (sx, sy) into (x, y) by a raster operation.
    // Destination pixels whose source lies outside the source surface are left alone.
    void Blit(int x, int y, int w, int h, const CSurface& source, int sx, int sy, DWORD rop, Pixel pattern);
    // The same, scaling the source block (sw x sh) to the destination block (w x h) by
    // nearest pixel (whole rows and columns dropped or repeated); a negative extent mirrors.
    void Stretch(int x, int y, int w, int h, const CSurface& source, int sx, int sy, int sw, int sh, DWORD rop,
                 Pixel pattern);
    // The same from a source of `sourceSize` read through `sample`, which is asked only for the
    // rows and columns that reach the clip.
    void Stretch(int x, int y, int w, int h, CSize sourceSize, int sx, int sy, int sw, int sh, DWORD rop, Pixel pattern,
                 const RowSampler& sample);
    // Combines the pattern colour into a rectangle by a raster operation that reads no source.
    void PatternFill(const CRect& rect, DWORD rop, Pixel pattern);
    // Copies a block leaving out every source pixel of colour `key`.
    void BlitKeyed(int x, int y, int w, int h, const CSurface& source, int sx, int sy, Pixel key);

private:
    void StraightLine(int x0, int y0, int x1, int y1, Pixel color, bool dotted);

    CSurface& m_surface;
    CRect m_clip;
};
