// dvrkit view log1 DIR: the first-generation browser on a log folder.
#include <string>

#include "log1/CLogViewer.h"
#include "tools/dvrkit/BrowserView.h"
#include "tools/dvrkit/ViewEntry.h"

ViewSpec Log1ViewSpec(const std::string& folder) {
    return BrowserViewSpec("dvrkit first-generation log browser", folder, &CLogViewer::TypeTree, &CLogViewer::SetLoadPath);
}

namespace {

std::string folder;

const ViewEntries::Add registration(
    22, {"log1", "The first-generation log browser on a folder of its month files",
         [](CLI::App& command) { command.add_option("DIR", folder, "Log folder")->required(); },
         [] { return Log1ViewSpec(folder); }});

}  // namespace
