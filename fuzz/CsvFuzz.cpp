// The tool's CSV input: every line of the input split into fields, as the log writers of the
// tool read their standard input. A split line must give back a field for every comma outside
// quotes and no more text than the line held.
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/FuzzTarget.h"
#include "tools/dvrkit/Csv.h"

namespace {

void CheckLine(const std::string& line) {
    const auto fields = SplitCsvLine(line);
    if (!fields) return;
    size_t text = 0;
    for (const CsvField& f : *fields) text += f.text.size();
    if (fields->empty() || text + fields->size() - 1 > line.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= input.size();) {
        const size_t end = std::min(input.find('\n', start), input.size());
        CheckLine(std::string(input.substr(start, end - start)));
        start = end + 1;
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    return TextSeeds({
        "1,2,2,10,20,,,\"text, quoted\",\"a \"\"b\"\"\"\r\n3,4,0,,,,,,",
        "save,camera 01,2,2005-03-01 01:00:00,0,1,\"\"\nupdate,camera 01,2,1109639000",
        "\"open,1,2",
    });
}
