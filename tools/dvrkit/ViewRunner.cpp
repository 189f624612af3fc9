#include "tools/dvrkit/ViewRunner.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/backends/HeadlessBackend.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/OutputFile.h"
#ifdef DVRKIT_HAVE_SDL2
#include "platform/backends/Sdl2Backend.h"
#endif

namespace {

std::unique_ptr<CWnd> Create(const ViewSpec& view) {
    std::unique_ptr<CWnd> window = view.create(view.width, view.height);
    if (!window) throw CommandError{std::string("cannot create the ") + view.title + " window"};
    if (view.open) view.open(*window);
    return window;
}

void Snapshot(const ViewSpec& view, const std::string& path) {
    HeadlessBackend backend(view.width, view.height);
    const std::unique_ptr<CWnd> window = Create(view);
    OutputFile out(path);
    try {
        backend.SaveSnapshot(out.TempPath());
    } catch (const std::runtime_error& e) {
        throw CommandError{e.what()};
    }
    out.Commit();
}

void Show(const ViewSpec& view) {
#ifdef DVRKIT_HAVE_SDL2
    if (!CanShowWindows()) throw CommandError{"no display to show the window on; use --snapshot FILE.png"};
    try {
        Sdl2Backend backend(view.width, view.height, view.title);
        const std::unique_ptr<CWnd> window = Create(view);
        backend.Run();
    } catch (const std::runtime_error& e) {
        throw CommandError{e.what()};
    }
#else
    (void)view;
    throw CommandError{"this build has no display backend (SDL2); use --snapshot FILE.png"};
#endif
}

}  // namespace

bool CanShowWindows() {
#ifdef DVRKIT_HAVE_SDL2
    auto named = [](const char* variable) {
        const char* value = std::getenv(variable);
        return value && *value;
    };
    return named("DISPLAY") || named("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

void RunView(const ViewSpec& view, const std::string& snapshot) {
    if (snapshot.empty()) Show(view);
    else Snapshot(view, snapshot);
}
