#include "module/LibraryModule.h"

namespace {

class LibraryModule final : public CResourceModule {
public:
    LibraryModule() { AfxAddResourceModule(this); }
    ~LibraryModule() override { AfxRemoveResourceModule(this); }
    const char* FindString(UINT) const override { return nullptr; }
    std::span<const BYTE> FindBitmap(UINT) const override { return {}; }
};

// Registered at load, unregistered at unload.
const LibraryModule g_module;

}  // namespace

// The project's version, which also names the shared library (its SONAME).
const char* DvrkitVersion() { return DVRKIT_VERSION; }

const CResourceModule& DvrkitModule() { return g_module; }
