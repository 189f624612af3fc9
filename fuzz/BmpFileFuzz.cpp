// Fuzz target: bitmap files as the host's resources or a file on disk give them. Every input
// must give a bitmap or a refusal, and a bitmap must draw.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzTarget.h"
#include "fuzz/ImageBound.h"
#include "host/DefaultHost.h"
#include "platform/gdi/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzzbound::DeclaresLargeImage(data, size)) return 0;
    if (HBITMAP bitmap = DecodeBmpFile({data, size})) {
        (void)bitmap->Pixels();
        DeleteObject(bitmap);
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    RegisterDefaultHostResources();
    const auto strip = AfxFindBitmap(host::kIconStripBitmap);
    return {std::vector<std::uint8_t>(strip.begin(), strip.end())};
}
