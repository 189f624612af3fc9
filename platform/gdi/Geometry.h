#pragma once
// Points, sizes and rectangles in the framework's shape: the plain POINT, SIZE and RECT records
// and their CPoint, CSize and CRect wrappers. A rectangle holds its left and top edges and
// excludes its right and bottom ones, so its width is right - left.
#include <algorithm>

#include "platform/core/Types.h"

struct POINT {
    LONG x = 0;
    LONG y = 0;
};

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(const POINT& p) : POINT(p) {}  // NOLINT: implicit as in the framework

    void Offset(int dx, int dy) { x += dx; y += dy; }
    friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
};

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(int w, int h) : SIZE{w, h} {}
    CSize(const SIZE& s) : SIZE(s) {}  // NOLINT: implicit as in the framework

    friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};

class CRect : public RECT {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}  // NOLINT: implicit as in the framework
    CRect(CPoint topLeft, CSize size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    // The framework's rectangles pass where a RECT pointer is asked for.
    operator const RECT*() const { return this; }
    operator RECT*() { return this; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return {Width(), Height()}; }
    CPoint TopLeft() const { return {left, top}; }
    CPoint BottomRight() const { return {right, bottom}; }
    CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
    // True when the rectangle covers no pixel (also when it is inverted).
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) { *this = CRect(l, t, r, b); }
    void SetRectEmpty() { *this = CRect(); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    // The common part of a and b; an empty rectangle (all zero) when they do not meet.
    bool IntersectRect(const RECT& a, const RECT& b) {
        *this = CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom));
        if (IsRectEmpty()) SetRectEmpty();
        return !IsRectEmpty();
    }

    friend bool operator==(const CRect& a, const CRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};
