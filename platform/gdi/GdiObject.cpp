#include "platform/gdi/GdiObject.h"

#include "platform/gdi/CGdiObject.h"

GdiObject::GdiObject(GdiKind kind) : m_kind(kind) {}

GdiObject::~GdiObject() {
    // The temporary wrapper only borrows this handle; it must not delete it again.
    if (m_temporary) m_temporary->Detach();
}

CGdiObject* GdiObject::TemporaryWrapper() {
    if (!m_temporary) {
        m_temporary = CGdiObject::MakeWrapper(m_kind);
        m_temporary->BorrowHandle(this);
    }
    return m_temporary.get();
}

void GdiObject::RemoveSelection() {
    if (m_stock) return;
    if (--m_selections == 0 && m_orphan) delete this;
}

void GdiObject::DeleteWhenReleased() {
    if (m_stock) return;
    if (!IsSelected()) {
        delete this;
        return;
    }
    m_orphan = true;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object || object->IsSelected()) return FALSE;
    if (object->IsStock()) return TRUE;
    if (CGdiObject* wrapper = object->Wrapper()) wrapper->Detach();
    delete object;
    return TRUE;
}
