#pragma once
// The library as a module of the resource chain. It is added to the chain when the library is
// loaded (by a static initialiser, standing in for the extension-module registration of a
// Windows host) and removed when it is unloaded. Its own resources hold only its version.
#include "platform/core/ResourceChain.h"

// The library's version text, "major.minor.patch".
const char* DvrkitVersion();
// The library's module in the resource chain.
const CResourceModule& DvrkitModule();
