// dvrkit view: shows the library's windows, in a real window where there is a display and as
// a PNG snapshot where there is none.
#include <string>

#include "log2/CLogViewer2.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/ViewEntry.h"

namespace {

// Clicks an item's label, as a person opening it would.
void ClickItem(HeadlessBackend& backend, CTreeCtrl& tree, HTREEITEM item) {
    RECT label{};
    if (item && tree.GetItemRect(item, &label, TRUE)) backend.ClickClient(tree, CRect(label).CenterPoint());
}

}  // namespace

ViewSpec Log2ViewSpec(const std::string& folder) {
    return {"dvrkit log browser", 800, 560,
            [folder](int width, int height) -> std::unique_ptr<CWnd> {
                auto viewer = std::make_unique<CLogViewer2>();
                if (!viewer->CreateEx(0, nullptr, "dvrkit log browser", WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0))
                    return nullptr;
                viewer->Init(folder.c_str());
                return viewer;
            },
            [](CWnd& window, HeadlessBackend& backend) {
                // The newest month, its latest day and the first log listed, opened by clicks.
                auto& viewer = static_cast<CLogViewer2&>(window);
                CTreeCtrl& months = viewer.MonthTree();
                ClickItem(backend, months, months.GetRootItem());
                ClickItem(backend, months, months.GetChildItem(months.GetRootItem()));
                CTreeCtrl& types = viewer.TypeTree();
                for (HTREEITEM group = types.GetRootItem(); group; group = types.GetNextSiblingItem(group)) {
                    if (const HTREEITEM log = types.GetChildItem(group); log && types.GetItemData(log) != 0) {
                        types.Expand(group, TVE_EXPAND);
                        ClickItem(backend, types, log);
                        break;
                    }
                }
            }};
}

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
