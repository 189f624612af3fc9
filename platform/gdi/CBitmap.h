#pragma once
// A bitmap wrapper: compatible bitmaps, bitmaps of the host's resources (found by number
// along the resource chain) and bitmap files.
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiBitmap.h"

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
