#pragma once
// Turns font descriptions into sized faces: fontconfig picks the installed face that best
// fits the face name, weight and slant (a name it does not know, such as "verdana" on a
// system without it, falls back to the default sans face), FreeType loads it at the asked
// height. Equal descriptions share one FontInstance and so one glyph cache.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/gdi/FontInstance.h"
#include "platform/gdi/LogFont.h"

class FontEngine {
public:
    // The process's engine, made on first use and kept to the end of the process.
    static FontEngine& Get();

    // The sized face for a description; never nullptr (without any installed font the
    // instance has no face and draws nothing).
    std::shared_ptr<FontInstance> Open(const LOGFONT& description);

private:
    FontEngine();
    std::shared_ptr<FontInstance> Load(const LOGFONT& description);

    std::mutex m_lock;
    FT_Library m_library = nullptr;
    std::map<std::string, std::shared_ptr<FontInstance>> m_instances;
};
