#pragma once
// Bitmap 6082 of the default host: a strip of 16 x 16 icons, magenta where transparent.
//   0 month   1 year   2 day, log and entry   3 system   4 search and playback   5 setup
//   6 network   7 other   8 error   9 channel   10 recording   11 camera group   12 sensor group
#include <cstdint>
#include <vector>

#include "module/HostContract.h"

constexpr int kIconCount = 13;
static_assert(kIconCount > host::kSensorGroupIcon, "the strip holds every icon the browsers ask for");
constexpr std::uint32_t kIconTransparent = 0xFF00FF;  // as 0xRRGGBB

// The strip as a Windows bitmap file (24 bits per pixel, bottom-up rows).
std::vector<std::uint8_t> BuildIconStripBmp();
