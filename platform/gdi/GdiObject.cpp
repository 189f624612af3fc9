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

BOOL DeleteObject(HGDIOBJ object) {
    if (!object || object->IsSelected()) return FALSE;
    if (object->IsStock()) return TRUE;
    if (CGdiObject* wrapper = object->Wrapper()) wrapper->Detach();
    delete object;
    return TRUE;
}
