#include "platform/gdi/CFont.h"

#include "platform/gdi/FontEngine.h"

GdiFont::GdiFont(const LOGFONT& description) : GdiObject(GdiKind::font), m_description(description) {
    m_description.lfFaceName[LF_FACESIZE - 1] = '\0';
}

FontInstance& GdiFont::Instance() {
    if (!m_instance) m_instance = FontEngine::Get().Open(m_description);
    return *m_instance;
}

HFONT CreateFontIndirect(const LOGFONT* description) {
    return description ? new GdiFont(*description) : nullptr;
}
