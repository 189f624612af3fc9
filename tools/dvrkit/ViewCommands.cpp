// dvrkit view: shows the library's windows, in a real window where there is a display and as
// a PNG snapshot where there is none.
#include <string>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/ViewEntry.h"

namespace {

void AddViewCommands(CLI::App& app) {
    static std::string snapshot;
    CLI::App* view = app.add_subcommand("view", "Show the library's windows");
    view->require_subcommand(1);
    for (const auto& [order, entry] : ViewEntries::InOrder()) {
        CLI::App* window = view->add_subcommand(entry.name, entry.help);
        if (entry.addArguments) entry.addArguments(*window);
        window->add_option("--snapshot", snapshot, "Write the window as a PNG file instead of showing it");
        window->callback([spec = entry.spec] { RunView(spec(), snapshot); });
    }
}

const CommandGroups::Add registration(70, AddViewCommands);

}  // namespace
