#pragma once
// How the tool shows one of the library's windows: as a PNG snapshot of a headless desktop, or
// in a real window (SDL2) where the build has it and there is a display.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/CWnd.h"

struct ViewSpec {
    const char* title;
    int width, height;
    // Creates the window on the desktop at (0, 0) with the given size; nullptr on failure.
    std::function<std::unique_ptr<CWnd>(int width, int height)> create;
    // Brings a new window into the state it opens in, by clicks as a person makes them
    // (PersonInput.h); run for a real window and a snapshot alike, so both show the same.
    std::function<void(CWnd& window)> open;
};

// True where this build can show a real window and there is a display to show it on.
bool CanShowWindows();

// Writes the snapshot when `snapshot` names a file, else shows the window until it is closed.
void RunView(const ViewSpec& view, const std::string& snapshot);
