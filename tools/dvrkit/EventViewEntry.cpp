// dvrkit view event DIR: the event browser on an event folder.
#include <string>

#include "event/CEventViewer.h"
#include "tools/dvrkit/BrowserView.h"
#include "tools/dvrkit/ViewEntry.h"

ViewSpec EventViewSpec(const std::string& folder) {
    return BrowserViewSpec("dvrkit event browser", folder, &CEventViewer::EventTree);
}

namespace {

std::string folder;

const ViewEntries::Add registration(
    25, {"event", "The event browser on an event folder",
         [](CLI::App& command) { command.add_option("DIR", folder, "Event folder")->required(); },
         [] { return EventViewSpec(folder); }});

}  // namespace
