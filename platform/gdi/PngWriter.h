#pragma once
// PNG output of a surface (8-bit RGB, no alpha), through libpng.
#include <string>
#include <vector>

#include "platform/gdi/CSurface.h"

// Writes the surface as a PNG file; throws std::runtime_error naming the file and the cause
// when it cannot be written (a partly written file is removed).
void SaveSurfacePng(const CSurface& surface, const std::string& path);
// The PNG file's bytes in memory; throws std::runtime_error on failure.
std::vector<unsigned char> EncodeSurfacePng(const CSurface& surface);
