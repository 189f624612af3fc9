#pragma once
// Bitmaps: device bitmaps hold 32-bit surface pixels; DIB sections hold their bits in the
// DIB format of their header, which the caller reads and writes directly. A context drawing
// into a section works on a decoded copy that EndDraw writes back, so the bits always show
// what was drawn once the drawing call has returned.
#include <vector>

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSurface.h"
#include "platform/gdi/DibFormat.h"

struct BITMAP {
    LONG bmType;        // 0
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;  // bytes per row of the bits
    WORD bmPlanes;      // 1
    WORD bmBitsPixel;
    void* bmBits;       // a section's bits; nullptr for a device bitmap
};

class GdiBitmap : public GdiObject {
public:
    // A device bitmap, black.
    GdiBitmap(int width, int height);
    // A device bitmap holding `pixels`.
    explicit GdiBitmap(CSurface pixels);
    // A DIB section: `info` is the header block (header and colour table), `imageSize` the
    // bytes of its bits (zero-filled).
    GdiBitmap(std::vector<BYTE> info, size_t imageSize);

    int Width() const;
    int Height() const;
    bool IsSection() const { return !m_info.empty(); }
    BITMAP Describe();
    // A section's header block and bits (nullptr for a device bitmap).
    const BITMAPINFO* SectionInfo() const;
    BYTE* SectionBits() { return IsSection() ? m_bits.data() : nullptr; }

    // The pixels as they are now (a section's decoded afresh).
    const CSurface& Pixels();
    // Pixels to draw into, until EndDraw, which stores a section's drawing back into its bits.
    // Both forget the kept encoding.
    CSurface& BeginDraw();
    void EndDraw();

    // An encoding of the pixels kept for the next reader: `key` names the format it is in.
    // A device bitmap keeps it until it is taken or any drawing begins; a section keeps
    // nothing, since its bits are written directly. Take hands it over when the key matches.
    void KeepEncoding(std::vector<BYTE> key, std::vector<BYTE> encoded);
    bool TakeEncoding(const std::vector<BYTE>& key, std::vector<BYTE>& encoded);

private:
    void ForgetEncoding();

    CSurface m_surface;
    std::vector<BYTE> m_keptKey;
    std::vector<BYTE> m_kept;
    std::vector<BYTE> m_info;  // empty for a device bitmap
    std::vector<BYTE> m_bits;
};
using HBITMAP = GdiBitmap*;

class CDC;

// A device bitmap; nullptr for a size below 1 or beyond the DIB limits. Bitmaps compatible
// with any context are 32-bit colour (a memory context's default bitmap included).
HBITMAP CreateCompatibleBitmap(CDC* dc, int width, int height);

// The bitmap wrapper: compatible bitmaps, bitmaps of the host's resources (found by number
// along the resource chain) and bitmap files.
class CBitmap : public CGdiObject {
public:
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height) {
        return Attach(::CreateCompatibleBitmap(dc, width, height));
    }
    // The bitmap resource `id` of the first module along the resource chain that has it;
    // FALSE when none has it or its bytes are not a bitmap file this system reads.
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmapA(UINT id) { return LoadBitmap(id); }
    BOOL GetBitmap(BITMAP* out) const { return m_hObject && GetObjectA(m_hObject, sizeof(BITMAP), out) != 0; }
    HBITMAP GetHandle() const { return static_cast<HBITMAP>(m_hObject); }
    operator HBITMAP() const { return GetHandle(); }
    static CBitmap* FromHandle(HBITMAP bitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(bitmap)); }
};
