// The monthly event file, parsed in memory.
#include "event/EventFileReader.h"
#include "fuzz/EventFuzz.h"
#include "fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseEventFile({data, size});
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() { return eventfuzz::Seeds(); }
