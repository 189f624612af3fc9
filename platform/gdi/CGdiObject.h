#pragma once
// The wrapper of a drawing-object handle, in the framework's shape. A wrapper that made or
// attached its handle owns it and deletes it with itself (or, while the object is selected
// into a context, when the context lets it go); FromHandle gives a wrapper for any handle
// (one that borrows the handle when no owner wraps it).
#include <memory>

#include "platform/gdi/GdiObject.h"

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership of `object`; FALSE if this wrapper already holds one or it is nullptr.
    BOOL Attach(HGDIOBJ object);
    // Gives up the handle without deleting it.
    HGDIOBJ Detach();
    // Deletes the handle; FALSE when there is none or it is still selected into a context.
    BOOL DeleteObject();

    // The owner of `object` or a borrowing wrapper that lives as long as the handle.
    static CGdiObject* FromHandle(HGDIOBJ object);

    // For GdiObject's borrowing wrappers.
    static std::unique_ptr<CGdiObject> MakeWrapper(GdiKind kind);
    void BorrowHandle(HGDIOBJ object) { m_hObject = object; }

    HGDIOBJ m_hObject = nullptr;
};

// Copies the description of an object: LOGFONT for a font, BITMAP for a bitmap, the WORD
// entry count for a palette. Returns the bytes copied, 0 when `size` is too small.
int GetObjectA(HGDIOBJ object, int size, void* out);
inline int GetObject(HGDIOBJ object, int size, void* out) { return GetObjectA(object, size, out); }
