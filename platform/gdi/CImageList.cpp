#include "platform/gdi/CImageList.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/RasterOp.h"

namespace {

constexpr int kMaxImageSide = 256;

}  // namespace

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int) {
    if (IsCreated() || cx < 1 || cy < 1 || cx > kMaxImageSide || cy > kMaxImageSide) return FALSE;
    m_cx = cx;
    m_cy = cy;
    m_masked = (flags & ILC_MASK) != 0;
    m_images.reserve(static_cast<size_t>(std::clamp(initial, 0, kMaxImageSide)));
    return TRUE;
}

BOOL CImageList::DeleteImageList() {
    if (!IsCreated()) return FALSE;
    *this = CImageList();
    return TRUE;
}

int CImageList::Add(CBitmap* strip, COLORREF mask) {
    HBITMAP bitmap = strip ? strip->GetHandle() : nullptr;
    if (!IsCreated() || !bitmap) return -1;
    const CSurface& source = bitmap->Pixels();
    const int count = source.Width() / m_cx;
    if (count == 0) return -1;
    const int first = GetImageCount();
    const Pixel key = PixelFromColor(mask);
    for (int i = 0; i < count; ++i) {
        Image image{CSurface(m_cx, m_cy, key), key, m_masked};
        // A strip lower than the images leaves their lower rows transparent (or black).
        if (!m_masked) image.pixels.Fill(image.pixels.Bounds(), 0);
        for (int y = 0; y < std::min(m_cy, source.Height()); ++y)
            std::copy_n(source.Row(y) + i * m_cx, m_cx, image.pixels.Row(y));
        m_images.push_back(std::move(image));
    }
    return first;
}

BOOL CImageList::GetIconSize(int* cx, int* cy) const {
    if (!IsCreated() || !cx || !cy) return FALSE;
    *cx = m_cx;
    *cy = m_cy;
    return TRUE;
}

COLORREF CImageList::SetBkColor(COLORREF color) { return std::exchange(m_bkColor, color); }

BOOL CImageList::Draw(CDC* dc, int index, POINT at, UINT style) {
    if (!dc || index < 0 || index >= GetImageCount()) return FALSE;
    const Image& image = m_images[static_cast<size_t>(index)];
    if (!image.masked) return dc->StretchSurface(at.x, at.y, m_cx, m_cy, image.pixels, 0, 0, m_cx, m_cy, SRCCOPY);
    if (m_bkColor != CLR_NONE && !(style & ILD_TRANSPARENT)) dc->FillSolidRect(at.x, at.y, m_cx, m_cy, m_bkColor);
    return dc->DrawKeyed(at.x, at.y, m_cx, m_cy, image.pixels, 0, 0, image.key);
}
