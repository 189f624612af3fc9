// dvrkit view log2 DIR: the log browser on a log folder.
#include <string>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/ViewEntry.h"

namespace {

std::string folder;

const ViewEntries::Add registration(
    20, {"log2", "The log browser on a log folder",
         [](CLI::App& command) { command.add_option("DIR", folder, "Log folder")->required(); },
         [] { return Log2ViewSpec(folder); }});

}  // namespace
