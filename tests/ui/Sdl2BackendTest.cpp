// The SDL2 backend on a real X server (Xvfb, started here on a free display): a window
// opens, a frame is drawn, a click reaches a button through SDL's event queue, what a click
// painted shows at once, the window closes. Skipped when the backend was not built or Xvfb is
// not installed.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "calendar/CCalWnd.h"
#include "calendar/CalendarLayout.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CDesktop.h"
#ifdef DVRKIT_HAVE_SDL2
#include <SDL.h>

#include "platform/backends/Sdl2Backend.h"
#endif
#include "tests/support/TempDir.h"

// X11 and SDL keep a few allocations for the process's life, and libdbus (which SDL opens
// and never shuts down) loses a block whose two children LeakSanitizer's fast unwinder, lost
// in dbus's frames, pins on this program (the library is linked into it); fontconfig loses a few bytes while it parses its
// configuration. This program only opens the SDL window: the library's own leaks are checked
// by ui_tests, which suppresses nothing of it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libX11.so\nleak:libSDL2\nleak:libxcb\nleak:libdbus-1.so\nleak:ui_sdl2_tests\n";
}

namespace {

constexpr const char* kXvfb = "/usr/bin/Xvfb";

// An X server on a display number it picks itself, ended with the object.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int fds[2];
        if (pipe(fds) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execl(kXvfb, kXvfb, "-displayfd", fd.c_str(), "-screen", "0", "320x240x24", "-nolisten", "tcp",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The server writes the number and then a line feed; it dies if the pipe closes between.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (m_pid > 0 && poll(&p, 1, 20000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        if (c == '\n' && !number.empty()) m_display = ":" + number;
        close(fds[0]);
    }
    ~VirtualDisplay() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& Name() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

class ClickCounter : public CWnd {
public:
    int clicks = 0;
    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {msgmap::OnCommand<&ClickCounter::OnClicked>(BN_CLICKED, 7)};
        static const MessageMap map{CWnd::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    void OnClicked() { ++clicks; }
};

#ifdef DVRKIT_HAVE_SDL2
void PushButton(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}
#endif

#ifdef DVRKIT_HAVE_SDL2
// A virtual display for the test's SDL window; the test skips itself without Xvfb.
class Sdl2BackendTest : public testing::Test {
protected:
    void SetUp() override {
        if (access(kXvfb, X_OK) != 0) GTEST_SKIP() << "Xvfb is not installed";
        display = std::make_unique<VirtualDisplay>();
        ASSERT_FALSE(display->Name().empty()) << "Xvfb did not start";
        setenv("DISPLAY", display->Name().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    void TearDown() override { unsetenv("DISPLAY"); }

    // Presses and releases the left button at a desktop point, through SDL's queue.
    static void Click(CPoint at) {
        PushButton(SDL_MOUSEBUTTONDOWN, at.x, at.y);
        PushButton(SDL_MOUSEBUTTONUP, at.x, at.y);
    }

    std::unique_ptr<VirtualDisplay> display;
};

TEST_F(Sdl2BackendTest, OpensDrawsTakesAClickAndCloses) {
    Sdl2Backend backend(320, 240, "dvrkit test");
    ClickCounter frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0));
    CButton button;
    ASSERT_TRUE(button.Create("Press", WS_CHILD | WS_VISIBLE, CRect(100, 100, 200, 140), &frame, 7));
    backend.Present();
    EXPECT_EQ(backend.FramesShown(), 1);
    Click(CPoint(150, 120));
    EXPECT_TRUE(backend.Pump(100));
    EXPECT_EQ(frame.clicks, 1);
    EXPECT_GE(backend.FramesShown(), 2);  // the pressed and released button were shown
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(backend.Pump(100));
    EXPECT_FALSE(backend.IsOpen());
    frame.DestroyWindow();
}

// The calendar's month buttons repaint the grid inside their click: the window must show that
// repaint, the new month with the button released, with no further input.
TEST_F(Sdl2BackendTest, ShowsTheMonthANavigationClickPainted) {
    ScopedTz tz("UTC");
    ScopedClock clock(CTime(2006, 1, 15, 12, 0, 0).GetTime());
    Sdl2Backend backend(320, 240, "dvrkit calendar");
    CCalWnd calendar;
    ASSERT_TRUE(calendar.CreateEx(0, nullptr, "calendar", WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0));
    backend.Present();
    const CSurface before = backend.ShownPixels();
    CRect next;
    calendar.NextMonthButton()->GetWindowRect(&next);
    Click(next.CenterPoint());
    EXPECT_TRUE(backend.Pump(100));
    ASSERT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 February");
    EXPECT_FALSE(calendar.NextMonthButton()->GetState() & BST_PUSHED);

    const CSurface shown = backend.ShownPixels();
    const CSurface& painted = CDesktop::Get().Surface();
    int differentFromPainted = 0, changedOnScreen = 0;
    for (int y = 0; y < painted.Height(); ++y) {
        for (int x = 0; x < painted.Width(); ++x) {
            differentFromPainted += (shown.At(x, y) & 0xFFFFFF) != painted.At(x, y);
            changedOnScreen += (shown.At(x, y) & 0xFFFFFF) != (before.At(x, y) & 0xFFFFFF);
        }
    }
    EXPECT_EQ(differentFromPainted, 0) << "the window does not show what the desktop painted";
    EXPECT_GT(changedOnScreen, 0) << "the window still shows January";
    calendar.DestroyWindow();
}
// A person resizes the window: the desktop takes its size, the calendar that filled it places
// its cells for that size, and the window shows what was painted, pixel for pixel, unstretched.
TEST_F(Sdl2BackendTest, AResizedWindowIsLaidOutAgainNotStretched) {
    Sdl2Backend backend(320, 240, "dvrkit calendar");
    CCalWnd calendar;
    ASSERT_TRUE(calendar.CreateEx(0, nullptr, "calendar", WS_VISIBLE, CRect(0, 0, 320, 240), nullptr, 0));
    backend.Present();
    // The backend's window is the only one SDL has.
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; !window && id < 1000; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    SDL_SetWindowSize(window, 480, 360);
    for (int i = 0; i < 100 && CDesktop::Get().Width() != 480; ++i) backend.Pump(100);
    ASSERT_EQ(CDesktop::Get().Width(), 480);
    ASSERT_EQ(CDesktop::Get().Height(), 360);
    EXPECT_EQ(calendar.GetRectInParent(), CRect(0, 0, 480, 360));
    EXPECT_EQ(calendar.Cell(41)->GetRectInParent(), CalendarLayout::For(480, 360).cells[41]);
    backend.Present();
    const CSurface shown = backend.ShownPixels();
    const CSurface& painted = CDesktop::Get().Surface();
    ASSERT_EQ(shown.Width(), 480);
    int different = 0;
    for (int y = 0; y < painted.Height(); ++y)
        for (int x = 0; x < painted.Width(); ++x) different += (shown.At(x, y) & 0xFFFFFF) != painted.At(x, y);
    EXPECT_EQ(different, 0) << "the window does not show what the desktop painted";
    calendar.DestroyWindow();
}
#else
TEST(Sdl2BackendTest, NeedsTheBackend) { GTEST_SKIP() << "the SDL2 backend was not built"; }
#endif

}  // namespace
