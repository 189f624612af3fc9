#pragma once
// The bitmap targets skip inputs whose header the decoder would accept for a large image: such an
// image is decoded by the same code as a small one, only into a surface of up to 64 MB, and a
// corpus that keeps a few of them spends most of its time filling memory instead of finding
// paths. Headers that are refused stay in, since their checks are the point.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/BmpFile.h"
#include "platform/gdi/DibLayout.h"

namespace fuzzbound {

constexpr std::uint64_t kMaxFuzzPixels = 4096;

// True for a bitmap file (14-byte file header, then the info header) that describes an image
// of more than kMaxFuzzPixels that would be decoded.
inline bool DeclaresLargeImage(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kInfoAt = 14, kInfoSize = 40;
    if (size < kInfoAt + kInfoSize) return false;
    const auto layout = DibLayout::From(ReadInfoHeaderAt(data + kInfoAt));
    return layout && static_cast<std::uint64_t>(layout->width) * static_cast<std::uint64_t>(layout->height) > kMaxFuzzPixels;
}

}  // namespace fuzzbound
