#pragma once
// The resource chain: the modules (the host application, the library itself) whose strings and
// bitmaps can be found by number. The most recently added module is searched first, so a host
// that registers its resources after the library has loaded is asked before the library.
#include <span>

#include "platform/core/Types.h"

class CResourceModule {
public:
    virtual ~CResourceModule() = default;
    // The text of string `id`, or nullptr when this module has none. The pointer stays valid
    // while the module is registered.
    virtual const char* FindString(UINT id) const = 0;
    // The bytes of bitmap `id` as a Windows bitmap file, or an empty span.
    virtual std::span<const BYTE> FindBitmap(UINT id) const = 0;
};

// Adds and removes a module; the caller keeps ownership and keeps it alive while it is added.
void AfxAddResourceModule(const CResourceModule* module);
void AfxRemoveResourceModule(const CResourceModule* module);

// The first module along the chain that holds string (or bitmap) `id`, or nullptr.
const CResourceModule* AfxFindStringModule(UINT id);
const CResourceModule* AfxFindBitmapModule(UINT id);

// Shortcuts: the string's text (nullptr when no module has it) and the bitmap's bytes.
const char* AfxFindString(UINT id);
std::span<const BYTE> AfxFindBitmap(UINT id);
