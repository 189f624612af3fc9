// dvrkit view log2 DIR: the log browser on a log folder.
#include <string>

#include "log2/CLogViewer2.h"
#include "tools/dvrkit/BrowserView.h"
#include "tools/dvrkit/ViewEntry.h"

ViewSpec Log2ViewSpec(const std::string& folder) {
    return BrowserViewSpec("dvrkit log browser", folder, &CLogViewer2::TypeTree);
}

namespace {

std::string folder;

const ViewEntries::Add registration(
    20, {"log2", "The log browser on a log folder",
         [](CLI::App& command) { command.add_option("DIR", folder, "Log folder")->required(); },
         [] { return Log2ViewSpec(folder); }});

}  // namespace
