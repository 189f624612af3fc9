// Fuzz target: bitmap files read by the bitmap class from a file (Read and ReadSection). Every
// input must give an image or a refusal, and an image must paint and convert.
#include "fuzz/DibFuzz.h"
#include "fuzz/FuzzTarget.h"
#include "fuzz/ImageBound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzzbound::DeclaresLargeImage(data, size)) return 0;
    dibfuzz::WriteInput(data, size);
    CFile file;
    if (!file.Open(dibfuzz::InputPath().c_str(), CFile::modeRead)) return 0;
    CDib dib;
    if (dib.Read(&file)) dibfuzz::Use(dib);
    file.SeekToBegin();
    if (dib.ReadSection(&file, nullptr)) dibfuzz::Use(dib);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() { return dibfuzz::Seeds(); }
