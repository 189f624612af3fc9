// Fuzz target: bitmap files as the host's resources or a file on disk give them. Every input
// must give a bitmap or a refusal, and a bitmap must draw.
#include <cstddef>
#include <cstdint>

#include "platform/gdi/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (HBITMAP bitmap = DecodeBmpFile({data, size})) {
        (void)bitmap->Pixels();
        DeleteObject(bitmap);
    }
    return 0;
}
