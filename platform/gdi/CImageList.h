#pragma once
// An image list: images of one size (16 x 16 for the browsers' icons) added from strips,
// drawn by index. With a mask, pixels of the mask colour given when a strip was added are
// transparent: drawing leaves the surface under them untouched (or fills them with the
// list's background colour when one is set and the draw is not ILD_TRANSPARENT).
#include <vector>

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

class CImageList {
public:
    // Sets the image size and the kind; `initial` and `grow` are capacity hints. FALSE for
    // a size below 1 or beyond 256 x 256, or a list that exists already.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();
    bool IsCreated() const { return m_cx > 0; }

    // Adds the images of a strip, left to right (a partial image at the right end is left
    // out); with a mask, pixels of `mask` become transparent. Returns the index of the first
    // image added, -1 when none could be.
    int Add(CBitmap* strip, COLORREF mask);
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    BOOL GetIconSize(int* cx, int* cy) const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const { return m_bkColor; }

    // Draws image `index` with its top-left corner at `at`; FALSE for an index not in the list.
    BOOL Draw(CDC* dc, int index, POINT at, UINT style);

private:
    struct Image {
        CSurface pixels;
        Pixel key = 0;
        bool masked = false;
    };

    int m_cx = 0;
    int m_cy = 0;
    bool m_masked = false;
    COLORREF m_bkColor = CLR_NONE;
    std::vector<Image> m_images;
};
