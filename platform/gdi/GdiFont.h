#pragma once
// Fonts: a description and the sized face it resolves to (looked up on first use).
#include <memory>

#include "platform/gdi/FontInstance.h"
#include "platform/gdi/GdiObject.h"
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
