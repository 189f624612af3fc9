#pragma once
// The library's lookup of a host string. A host whose table lacks an identifier sees which one
// ("[string 7440]") in its place, where a blank label or line would hide that anything is missing.
#include <string>

#include "platform/core/Types.h"

// The text the resource chain holds for `id`, or HostTextFallback(id) when no module has one.
std::string HostText(UINT id);
// What stands in for a string no module holds: "[string 7440]". It holds no '%', so it is safe
// where a format is expected.
std::string HostTextFallback(UINT id);
