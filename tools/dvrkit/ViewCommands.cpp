// dvrkit view: shows the library's windows, in a real window where there is a display and as
// a PNG snapshot where there is none.
#include <string>

#include "log2/CLogViewer2.h"
#include "tools/dvrkit/CalendarView.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/ControlsView.h"
#include "tools/dvrkit/ViewRunner.h"

namespace {

ViewSpec ControlsSpec() {
    return {"dvrkit controls", 640, 400,
            [](int width, int height) -> std::unique_ptr<CWnd> {
                auto view = std::make_unique<ControlsView>();
                if (!view->CreateView(width, height)) return nullptr;
                return view;
            },
            [](CWnd& window, HeadlessBackend&) {
                // Show a selection, as a user's click makes it.
                CTreeCtrl& tree = static_cast<ControlsView&>(window).Tree();
                tree.SetFocus();
                tree.SelectItem(tree.GetChildItem(tree.GetRootItem()));
            }};
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
                backend.ClickTreeItem(months, months.GetRootItem());
                backend.ClickTreeItem(months, months.GetChildItem(months.GetRootItem()));
                CTreeCtrl& types = viewer.TypeTree();
                for (HTREEITEM group = types.GetRootItem(); group; group = types.GetNextSiblingItem(group)) {
                    if (const HTREEITEM log = types.GetChildItem(group); log && types.GetItemData(log) != 0) {
                        types.Expand(group, TVE_EXPAND);
                        backend.ClickTreeItem(types, log);
                        break;
                    }
                }
            }};
}

void AddViewCommands(CLI::App& app) {
    static std::string snapshot, folder, month;
    CLI::App* view = app.add_subcommand("view", "Show the library's windows");
    view->require_subcommand(1);
    auto addSnapshot = [](CLI::App* window) {
        window->add_option("--snapshot", snapshot, "Write the window as a PNG file instead of showing it");
    };
    CLI::App* controls = view->add_subcommand("controls", "A window with a tree, a text pane, owner-drawn buttons and labels");
    addSnapshot(controls);
    controls->callback([] { RunView(ControlsSpec(), snapshot); });

    CLI::App* log2 = view->add_subcommand("log2", "The log browser on a log folder");
    log2->add_option("DIR", folder, "Log folder")->required();
    addSnapshot(log2);
    log2->callback([] { RunView(Log2ViewSpec(folder), snapshot); });

    CLI::App* calendar = view->add_subcommand(
        "calendar", "The calendar control; its callbacks print what they receive, a line each (a snapshot clicks the day)");
    calendar->add_option("--month", month, "YYYY-MM to show first (default: the current month)");
    addSnapshot(calendar);
    calendar->callback([] {
        RunView(CalendarHostViewSpec(month.empty() ? CTime::GetCurrentTime() : ParseMonth(month)), snapshot);
    });
}
