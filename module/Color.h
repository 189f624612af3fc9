#pragma once
// Colours as 0x00BBGGRR: the platform's drawing layer defines them for every layer above it.
#include "platform/gdi/ColorRef.h"
