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
