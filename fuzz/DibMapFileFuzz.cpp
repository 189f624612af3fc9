// Fuzz target: bitmap files mapped into memory by the bitmap class (MapFile). Every input must
// give an image or a refusal, and an image, whose pixels lie in the mapping, must paint and
// convert without reading past the mapping's end.
#include "fuzz/DibFuzz.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/ImageBound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzzbound::DeclaresLargeImage(data, size)) return 0;
    dibfuzz::WriteInput(data, size);
    CDib dib;
    if (dib.MapFile(dibfuzz::InputPath().c_str())) dibfuzz::Use(dib);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() { return dibfuzz::Seeds(); }
