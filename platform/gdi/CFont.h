#pragma once
// Fonts: a description and the sized face it resolves to (looked up on first use).
#include <memory>

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/FontInstance.h"
#include "platform/gdi/LogFont.h"

class GdiFont : public GdiObject {
public:
    explicit GdiFont(const LOGFONT& description);
    const LOGFONT& Description() const { return m_description; }
    FontInstance& Instance();

private:
    LOGFONT m_description;
    std::shared_ptr<FontInstance> m_instance;
};
using HFONT = GdiFont*;

// A font from a description; nullptr for none. The face name is cut to 31 characters.
HFONT CreateFontIndirect(const LOGFONT* description);
inline HFONT CreateFontIndirectA(const LOGFONT* description) { return CreateFontIndirect(description); }

// The font wrapper (FontEngine.h describes how a description becomes a face).
class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* description) { return Attach(::CreateFontIndirect(description)); }
    // FALSE without a font; otherwise copies the description.
    BOOL GetLogFont(LOGFONT* out) const { return m_hObject && GetObjectA(m_hObject, sizeof(LOGFONT), out) != 0; }
    HFONT GetHandle() const { return static_cast<HFONT>(m_hObject); }
    operator HFONT() const { return GetHandle(); }
    static CFont* FromHandle(HFONT font) { return static_cast<CFont*>(CGdiObject::FromHandle(font)); }
};
