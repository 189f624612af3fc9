#pragma once
// A 32-bit drawing surface: width x height pixels, rows top to bottom, each pixel a
// 0x00RRGGBB word (in memory blue, green, red, unused: the byte order of a 32-bit DIB row).
// Colours of the drawing interface are COLORREF values (0x00BBGGRR); PixelFromColor and
// ColorFromPixel convert between the two.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/core/Types.h"
#include "platform/gdi/Geometry.h"

using Pixel = std::uint32_t;

// A source of pixels that is not held whole in a surface: fills out[i] with the pixel at
// (columns[i], row) for every columns[i] >= 0, leaving the others alone.
using RowSampler = std::function<void(int row, std::span<const int> columns, Pixel* out)>;

constexpr Pixel PixelFromColor(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ColorFromPixel(Pixel p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

class CSurface {
public:
    CSurface() = default;
    // A surface of the given size filled with `fill`; negative sizes count as 0.
    CSurface(int width, int height, Pixel fill = 0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    CRect Bounds() const { return {0, 0, m_width, m_height}; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // Unchecked access: the caller keeps (x, y) inside Bounds().
    Pixel At(int x, int y) const { return m_pixels[Index(x, y)]; }
    Pixel& At(int x, int y) { return m_pixels[Index(x, y)]; }
    Pixel* Row(int y) { return m_pixels.data() + Index(0, y); }
    const Pixel* Row(int y) const { return m_pixels.data() + Index(0, y); }

    // Fills the part of `rect` inside the surface.
    void Fill(const CRect& rect, Pixel color);
    // Changes the size; the contents become `fill`.
    void Reset(int width, int height, Pixel fill = 0);

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x); }

    int m_width = 0;
    int m_height = 0;
    std::vector<Pixel> m_pixels;
};
