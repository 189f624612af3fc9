#include "platform/backends/Sdl2Backend.h"

#include <stdexcept>

#include "platform/backends/DisplayProbe.h"
#include "platform/backends/Sdl2Library.h"
#include "platform/ui/CDesktop.h"

namespace {

// How long a display's server may take to accept a connection.
constexpr int kDisplayWaitMs = 5000;

UINT VirtualKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    default: return 0;
    }
}

[[noreturn]] void Fail(const char* what) { throw std::runtime_error(std::string(what) + ": " + Sdl2().GetError()); }

}  // namespace

Sdl2Backend::Sdl2Backend(int width, int height, const std::string& title) : m_desktop(CDesktop::Get()) {
    OpenDisplay();
    m_desktop.Resize(width, height);
    // The desktop is drawn in software and copied to the window: the window's surface needs no
    // OpenGL behind it, and leaving it out keeps the GL drivers out of the host's process.
    Sdl2().SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    m_window = Sdl2().CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                SDL_WINDOW_RESIZABLE);
    if (m_window) m_renderer = Sdl2().CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer || !MakeTexture()) {
        const std::string error = Sdl2().GetError();
        Close();
        throw std::runtime_error("cannot open the SDL window: " + error);
    }
    m_open = true;
    Sdl2().StartTextInput();
    m_desktop.SetModalDriver([this](CWnd&, const bool& ended) {
        while (!ended && Pump(50)) {
        }
    });
}

Sdl2Backend::~Sdl2Backend() { Close(); }

void Sdl2Backend::OpenDisplay() {
    const DisplayTarget display = ChooseDisplay();
    if (display.driver.empty()) throw std::runtime_error("no display to open: neither DISPLAY nor WAYLAND_DISPLAY is set");
    const std::string failed = "cannot open the display '" + display.name + "'";
    if (const std::string problem = DisplayProblem(display, kDisplayWaitMs); !problem.empty())
        throw std::runtime_error(failed + ": " + problem);
    // That display and no other: SDL's fallbacks draw into windows no one sees.
    Sdl2().SetHint(SDL_HINT_VIDEODRIVER, display.driver.c_str());
    if (Sdl2().InitSubSystem(SDL_INIT_VIDEO) != 0) throw std::runtime_error(failed + ": " + Sdl2().GetError());
}

bool Sdl2Backend::MakeTexture() {
    if (m_texture) Sdl2().DestroyTexture(m_texture);
    m_texture = Sdl2().CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, m_desktop.Width(),
                                  m_desktop.Height());
    return m_texture != nullptr;
}

void Sdl2Backend::Resize(int width, int height) {
    if (width == m_desktop.Width() && height == m_desktop.Height()) return;
    // The desktop takes the window's size, so its windows lay themselves out for it rather than
    // their picture being stretched to it.
    m_desktop.Resize(width, height);
    if (!MakeTexture()) Fail("cannot make the SDL window's picture for its new size");
    m_exposed = true;
}

void Sdl2Backend::Close() {
    m_desktop.SetModalDriver(nullptr);
    if (m_texture) Sdl2().DestroyTexture(m_texture);
    if (m_renderer) Sdl2().DestroyRenderer(m_renderer);
    if (m_window) Sdl2().DestroyWindow(m_window);
    m_texture = nullptr;
    m_renderer = nullptr;
    m_window = nullptr;
    Sdl2().QuitSubSystem(SDL_INIT_VIDEO);
    // With no subsystem left, SDL's own helpers (its D-Bus connection) go too.
    if (Sdl2().WasInit(0) == 0) Sdl2().Quit();
}

void Sdl2Backend::Present() {
    m_desktop.Update();
    const unsigned long passes = m_desktop.PaintPasses();
    if (passes == m_shownPasses && !m_exposed) return;
    m_shownPasses = passes;
    m_exposed = false;
    const CSurface& s = m_desktop.Surface();
    // Surface pixels are 0x00RRGGBB words, which is ARGB8888 with an alpha nobody reads.
    Sdl2().UpdateTexture(m_texture, nullptr, s.Row(0), s.Width() * static_cast<int>(sizeof(Pixel)));
    Sdl2().RenderClear(m_renderer);
    Sdl2().RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    Sdl2().RenderPresent(m_renderer);
    ++m_frames;
}

CSurface Sdl2Backend::ShownPixels() const {
    CSurface shown(m_desktop.Width(), m_desktop.Height());
    if (Sdl2().RenderReadPixels(m_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shown.Row(0),
                             shown.Width() * static_cast<int>(sizeof(Pixel))) != 0)
        Fail("cannot read the SDL window back");
    return shown;
}

void Sdl2Backend::Handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        m_open = false;
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) m_open = false;
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) m_exposed = true;
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) Resize(e.window.data1, e.window.data2);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) m_desktop.MouseDown(CPoint(e.button.x, e.button.y));
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) m_desktop.MouseUp(CPoint(e.button.x, e.button.y));
        break;
    case SDL_MOUSEMOTION:
        m_desktop.MouseMove(CPoint(e.motion.x, e.motion.y));
        break;
    case SDL_MOUSEWHEEL: {
        int x = 0;
        int y = 0;
        Sdl2().GetMouseState(&x, &y);
        const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        m_desktop.MouseWheel(CPoint(x, y), notches * WHEEL_DELTA);
        break;
    }
    case SDL_KEYDOWN:
        if (const UINT key = VirtualKey(e.key.keysym.sym)) {
            m_desktop.KeyDown(key);
            // Keys that type a character and arrive as no text event.
            if (key == VK_BACK) m_desktop.Char('\b');
            if (key == VK_RETURN) m_desktop.Char('\r');
        }
        break;
    case SDL_TEXTINPUT:
        for (const char* c = e.text.text; *c; ++c) m_desktop.Char(*c);
        break;
    default:
        break;
    }
}

bool Sdl2Backend::Pump(int waitMs) {
    if (!m_open) return false;
    SDL_Event event;
    if (Sdl2().WaitEventTimeout(&event, waitMs)) {
        Handle(event);
        while (m_open && Sdl2().PollEvent(&event)) Handle(event);
    }
    if (m_open) Present();
    return m_open;
}

void Sdl2Backend::Run() {
    Present();
    while (Pump(100)) {
    }
}
