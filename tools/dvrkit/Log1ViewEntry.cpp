// dvrkit view log1 DIR: the first-generation browser on a log folder, its Delete on the Delete key.
#include <string>

#include "tools/dvrkit/BrowserView.h"
#include "tools/dvrkit/Log1BrowserHost.h"
#include "tools/dvrkit/ViewEntry.h"

ViewSpec Log1ViewSpec(const std::string& folder) {
    return BrowserViewSpec<CLog1BrowserHost>("dvrkit first-generation log browser", folder, &CLogViewer::TypeTree,
                                             &CLogViewer::SetLoadPath);
}

namespace {

std::string folder;

const ViewEntries::Add registration(
    22, {"log1", "The first-generation log browser on a folder of its month files",
         [](CLI::App& command) { command.add_option("DIR", folder, "Log folder")->required(); },
         [] { return Log1ViewSpec(folder); }});

}  // namespace
