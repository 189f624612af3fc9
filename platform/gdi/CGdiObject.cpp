#include "platform/gdi/CGdiObject.h"

#include <cstring>

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CPen.h"

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

CGdiObject::~CGdiObject() {
    if (m_hObject && m_hObject->Wrapper() == this) Detach()->DeleteWhenReleased();
    else Detach();
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (!object || m_hObject) return FALSE;
    m_hObject = object;
    if (!object->IsStock()) object->SetWrapper(this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    if (object && object->Wrapper() == this) object->SetWrapper(nullptr);
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject || m_hObject->Wrapper() != this) {
        Detach();  // a borrowed or stock handle belongs to someone else
        return FALSE;
    }
    if (m_hObject->IsSelected()) return FALSE;
    return ::DeleteObject(Detach());
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    if (!object) return nullptr;
    return object->Wrapper() ? object->Wrapper() : object->TemporaryWrapper();
}

std::unique_ptr<CGdiObject> CGdiObject::MakeWrapper(GdiKind kind) {
    switch (kind) {
        case GdiKind::pen: return std::make_unique<CPen>();
        case GdiKind::brush: return std::make_unique<CBrush>();
        case GdiKind::font: return std::make_unique<CFont>();
        case GdiKind::bitmap: return std::make_unique<CBitmap>();
        case GdiKind::palette: return std::make_unique<CPalette>();
    }
    return nullptr;
}

namespace {

template <typename T>
int Copy(const T& value, int size, void* out) {
    if (!out || size < static_cast<int>(sizeof(T))) return 0;
    std::memcpy(out, &value, sizeof(T));
    return sizeof(T);
}

}  // namespace

int GetObjectA(HGDIOBJ object, int size, void* out) {
    if (!object) return 0;
    switch (object->Kind()) {
        case GdiKind::font: return Copy(static_cast<GdiFont*>(object)->Description(), size, out);
        case GdiKind::bitmap: return Copy(static_cast<GdiBitmap*>(object)->Describe(), size, out);
        case GdiKind::palette:
            return Copy(static_cast<WORD>(static_cast<GdiPalette*>(object)->Entries().size()), size, out);
        default: return 0;
    }
}
