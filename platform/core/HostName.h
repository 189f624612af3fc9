#pragma once
// The local host's name, as the system's host-name call gives it.
#include "platform/core/CString.h"

// The name, at most 80 bytes; empty when the system has none.
CString GetLocalHostName();
// True when `name` is a plain domain: letters, digits, '.' and '-' only, and not empty.
bool IsPlainHostName(const CString& name);
