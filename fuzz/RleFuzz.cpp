// Fuzz target: RLE8 and RLE4 pixel data drawn through StretchDIBits. The first byte picks the
// form and the image size; the rest is the compressed data.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/FuzzTarget.h"
#include "platform/gdi/DibFunctions.h"
#include "platform/gdi/RasterOp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool fourBit = data[0] & 1;
    const int width = 1 + ((data[0] >> 1) & 0x0F), height = 1 + (data[0] >> 5);
    std::vector<BYTE> block(kInfoHeaderSize + 16 * kColorEntrySize, 0x55);
    BITMAPINFOHEADER h{kInfoHeaderSize, width, height, 1, static_cast<WORD>(fourBit ? 4 : 8), fourBit ? BI_RLE4 : BI_RLE8,
                       static_cast<DWORD>(size - 1), 0, 0, 16, 0};
    std::memcpy(block.data(), &h, sizeof h);
    CDC dc;
    CSurface target(8, 8);
    dc.AttachSurface(&target);
    StretchDIBits(&dc, 0, 0, 8, 8, 0, 0, width, height, data + 1, reinterpret_cast<BITMAPINFO*>(block.data()),
                  DIB_RGB_COLORS, SRCCOPY);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    // A 3 x 2 image in each form: runs, an absolute run, a delta, line and bitmap ends.
    return {
        {0x24, 0x02, 0x05, 0x01, 0x07, 0x00, 0x00, 0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x00, 0x01},
        {0x25, 0x03, 0x12, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x02, 0x34, 0x00, 0x01},
    };
}
