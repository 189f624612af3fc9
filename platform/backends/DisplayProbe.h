#pragma once
// Which display the SDL2 backend opens, and whether it answers, found out before SDL is asked to
// open it. Left to itself, SDL given a display it cannot open falls back to drawing into a window
// no one sees, and waits on an unreachable X server for as long as the network lets a connection
// wait; a person is told instead, within seconds, which display failed and why.
#include <string>

struct DisplayTarget {
    std::string driver;  // the SDL video driver to use: "x11", "wayland", or what SDL_VIDEODRIVER names
    std::string name;    // the display as the environment names it, for messages
};

// SDL_VIDEODRIVER when set, else X11 on DISPLAY, else Wayland on WAYLAND_DISPLAY; an empty
// driver when the environment names no display.
DisplayTarget ChooseDisplay();

// Empty when the display's server accepts a connection within `timeoutMs`; otherwise why it
// cannot be reached. Drivers other than X11 and Wayland are left to SDL: empty.
std::string DisplayProblem(const DisplayTarget& display, int timeoutMs);
