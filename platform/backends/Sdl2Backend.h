#pragma once
// The SDL2 backend: a real window that shows the desktop and feeds it the user's input.
//
// Supports: one window of the desktop's size showing its pixels; resizing it, which resizes the
// desktop (the window that filled it lays itself out again); left-button press, release and
// motion; the wheel (one notch = WHEEL_DELTA at the pointer); keys (arrows, page up and down,
// home, end, return, escape, tab, backspace, delete, space, keypad plus and minus) and typed
// text; repainting whenever a window was invalidated and when the display asks; closing the
// window; modal windows run their own loop until they end or the window closes.
// Not supported: other buttons, double clicks, the clipboard.
//
// A host built on another toolkit embeds the desktop the same way: hand input to CDesktop,
// take pixels from its surface after Update.
#include <string>

#include "platform/gdi/CSurface.h"

union SDL_Event;
struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
class CDesktop;

class Sdl2Backend {
public:
    // Opens the window on the display the environment names (DisplayProbe.h); throws
    // std::runtime_error naming the display and the reason, within seconds, when it cannot.
    Sdl2Backend(int width, int height, const std::string& title);
    ~Sdl2Backend();
    Sdl2Backend(const Sdl2Backend&) = delete;
    Sdl2Backend& operator=(const Sdl2Backend&) = delete;

    // Handles the events that arrived (waiting up to `waitMs` for the first) and shows the
    // desktop again if anything changed. FALSE once the user closed the window.
    bool Pump(int waitMs);
    // Pumps until the window is closed.
    void Run();
    // Paints what is invalid and shows the desktop now.
    void Present();
    // What the window shows now, read back from it; throws std::runtime_error when SDL cannot.
    CSurface ShownPixels() const;
    bool IsOpen() const { return m_open; }
    int FramesShown() const { return m_frames; }

private:
    void OpenDisplay();
    void Handle(const SDL_Event& event);
    // A texture of the desktop's size in place of the last one; false when SDL cannot make it.
    bool MakeTexture();
    void Resize(int width, int height);
    void Close();

    CDesktop& m_desktop;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    bool m_open = false;
    bool m_exposed = true;
    int m_frames = 0;
    // The desktop's paint passes when the window last showed its surface.
    unsigned long m_shownPasses = 0;
};
