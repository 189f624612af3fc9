#pragma once
// The default host's resources: an English string table with a text for every identifier the
// library asks for, and bitmap 6082, the icon strip of the browsers. The tools and tests
// register them at start, exactly as a real host registers its own.
#include <span>

#include "module/HostContract.h"
#include "platform/core/ResourceChain.h"

// Adds the default host's module to the resource chain (idempotent); it stays for the process.
void RegisterDefaultHostResources();
// The default host's module itself, for tests that list its contents.
const CResourceModule& DefaultHostModule();

struct HostString {
    UINT id;
    const char* text;
};
std::span<const HostString> DefaultHostStrings();
