// The monthly event file, parsed in memory and scanned by the month-file rule.
#include "event/EventFileReader.h"
#include "fuzz/EventFuzz.h"
#include "fuzz/FuzzTarget.h"
#include "module/MonthFileScan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseEventFile({data, size});
    for (const ScanRule rule : {ScanRule::writer, ScanRule::reader})
        ScanMonthBytes(EventFileUnits(), "fuzz/200504.evt", {data, size}, rule);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() { return eventfuzz::Seeds(); }
