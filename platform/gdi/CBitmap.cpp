#include "platform/gdi/CBitmap.h"

#include <algorithm>

#include "platform/core/ResourceChain.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/DibEncoder.h"
#include "platform/gdi/DibLayout.h"

GdiBitmap::GdiBitmap(int width, int height) : GdiObject(GdiKind::bitmap), m_surface(width, height) {}

GdiBitmap::GdiBitmap(CSurface pixels) : GdiObject(GdiKind::bitmap), m_surface(std::move(pixels)) {}

GdiBitmap::GdiBitmap(std::vector<BYTE> info, size_t imageSize)
    : GdiObject(GdiKind::bitmap), m_info(std::move(info)), m_bits(imageSize, 0) {
    Pixels();
}

const BITMAPINFO* GdiBitmap::SectionInfo() const {
    return IsSection() ? reinterpret_cast<const BITMAPINFO*>(m_info.data()) : nullptr;
}

int GdiBitmap::Width() const { return m_surface.Width(); }
int GdiBitmap::Height() const { return m_surface.Height(); }

BITMAP GdiBitmap::Describe() {
    BITMAP b{};
    b.bmWidth = Width();
    b.bmHeight = Height();
    b.bmPlanes = 1;
    if (IsSection()) {
        b.bmBitsPixel = SectionInfo()->bmiHeader.biBitCount;
        b.bmWidthBytes = static_cast<LONG>(DibStride(static_cast<std::uint64_t>(Width()), b.bmBitsPixel));
        b.bmBits = m_bits.data();
    } else {
        b.bmBitsPixel = 32;
        b.bmWidthBytes = Width() * 4;
    }
    return b;
}

const CSurface& GdiBitmap::Pixels() {
    if (IsSection()) DecodeDib(*SectionInfo(), m_bits, m_surface);
    return m_surface;
}

CSurface& GdiBitmap::BeginDraw() {
    ForgetEncoding();
    return const_cast<CSurface&>(Pixels());
}

void GdiBitmap::EndDraw() {
    ForgetEncoding();
    std::vector<BYTE> bits;
    // Copied into place: the caller holds a pointer to the section's bits.
    if (IsSection() && EncodeDib(m_surface, *SectionInfo(), bits) && bits.size() == m_bits.size())
        std::copy(bits.begin(), bits.end(), m_bits.begin());
}

void GdiBitmap::KeepEncoding(std::vector<BYTE> key, std::vector<BYTE> encoded) {
    if (IsSection()) return;
    m_keptKey = std::move(key);
    m_kept = std::move(encoded);
}

bool GdiBitmap::TakeEncoding(const std::vector<BYTE>& key, std::vector<BYTE>& encoded) {
    if (m_keptKey.empty() || m_keptKey != key) return false;
    encoded = std::move(m_kept);
    ForgetEncoding();
    return true;
}

void GdiBitmap::ForgetEncoding() {
    m_keptKey.clear();
    m_kept.clear();
    m_kept.shrink_to_fit();
}

HBITMAP CreateCompatibleBitmap(CDC*, int width, int height) {
    if (width < 1 || height < 1 || width > kMaxDibSide || height > kMaxDibSide ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxDibPixels)
        return nullptr;
    return new GdiBitmap(width, height);
}

BOOL CBitmap::LoadBitmap(UINT id) { return Attach(DecodeBmpFile(AfxFindBitmap(id))); }
