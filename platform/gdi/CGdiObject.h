#pragma once
// The drawing objects behind the handles: pens, brushes, fonts, bitmaps and palettes. A
// handle is a pointer to one of these; it is made by a Create call, selected into contexts,
// and ended by DeleteObject. Stock objects live for the process and are never deleted.
//
// Ownership: the creator owns a handle until it is attached to a wrapper (CPen, CFont, ...),
// which then deletes it with itself. DeleteObject refuses (returns FALSE) while the object is
// selected into a context, so a context never draws with a freed object; a wrapper that ends
// while its object is selected leaves the object to end with its last selection.
#include <memory>

#include "platform/core/Types.h"

class CGdiObject;

enum class GdiKind { pen, brush, font, bitmap, palette };

class GdiObject {
public:
    explicit GdiObject(GdiKind kind);
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    virtual ~GdiObject();

    GdiKind Kind() const { return m_kind; }
    bool IsStock() const { return m_stock; }
    // Called once, before the object is shared.
    void MarkStock() { m_stock = true; }

    // Selection bookkeeping of the contexts. Stock objects are shared by contexts on any
    // thread and can never be deleted, so they keep no count.
    void AddSelection() {
        if (!m_stock) ++m_selections;
    }
    // May end the object (see DeleteWhenReleased): the caller must not use it afterwards.
    void RemoveSelection();
    bool IsSelected() const { return m_selections > 0; }
    // True when the next RemoveSelection ends the object.
    bool EndsWithLastSelection() const { return m_orphan && m_selections == 1; }
    // Deletes the object now, or when its last selection is removed.
    void DeleteWhenReleased();

    // The wrapper that owns this handle, if any (set by CGdiObject::Attach).
    CGdiObject* Wrapper() const { return m_wrapper; }
    void SetWrapper(CGdiObject* wrapper) { m_wrapper = wrapper; }
    // A wrapper for a handle that has none, kept as long as the handle lives (FromHandle).
    CGdiObject* TemporaryWrapper();

private:
    GdiKind m_kind;
    bool m_stock = false;
    int m_selections = 0;
    bool m_orphan = false;  // no owner any more: ends with its last selection
    CGdiObject* m_wrapper = nullptr;
    std::unique_ptr<CGdiObject> m_temporary;
};

using HGDIOBJ = GdiObject*;

// Ends a handle: FALSE for none or for an object still selected into a context; stock
// objects are left alone (TRUE). A wrapper that owned the handle is left empty.
BOOL DeleteObject(HGDIOBJ object);

// The wrapper of a drawing-object handle, in the framework's shape. A wrapper that made or
// attached its handle owns it and deletes it with itself (or, while the object is selected
// into a context, when the context lets it go); FromHandle gives a wrapper for any handle
// (one that borrows the handle when no owner wraps it).
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
