// dvrkit view: shows the library's windows, in a real window where there is a display and as
// a PNG snapshot where there is none.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/backends/HeadlessBackend.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/ControlsView.h"
#ifdef DVRKIT_HAVE_SDL2
#include "platform/backends/Sdl2Backend.h"
#endif

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;

void Snapshot(const std::string& path) {
    HeadlessBackend backend(kWidth, kHeight);
    ControlsView view;
    if (!view.CreateView(kWidth, kHeight)) throw CommandError{"cannot create the controls window"};
    // Show a selection, as a user's click makes it.
    view.Tree().SetFocus();
    const HTREEITEM day = view.Tree().GetChildItem(view.Tree().GetRootItem());
    view.Tree().SelectItem(day);
    try {
        backend.SaveSnapshot(path);
    } catch (const std::runtime_error& e) {
        throw CommandError{e.what()};
    }
}

void Show() {
#ifdef DVRKIT_HAVE_SDL2
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        throw CommandError{"no display to show the window on; use --snapshot FILE.png"};
    }
    try {
        Sdl2Backend backend(kWidth, kHeight, "dvrkit controls");
        ControlsView view;
        if (!view.CreateView(kWidth, kHeight)) throw CommandError{"cannot create the controls window"};
        backend.Run();
    } catch (const std::runtime_error& e) {
        throw CommandError{e.what()};
    }
#else
    throw CommandError{"this build has no display backend (SDL2); use --snapshot FILE.png"};
#endif
}

}  // namespace

void AddViewCommands(CLI::App& app) {
    static std::string snapshot;
    CLI::App* view = app.add_subcommand("view", "Show the library's windows");
    view->require_subcommand(1);
    CLI::App* controls = view->add_subcommand("controls", "A window with a tree, a text pane, owner-drawn buttons and labels");
    controls->add_option("--snapshot", snapshot, "Write the window as a PNG file instead of showing it");
    controls->callback([] {
        if (snapshot.empty()) Show();
        else Snapshot(snapshot);
    });
}
