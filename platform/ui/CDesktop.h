#pragma once
// The desktop: the root of all windows, the surface they are painted into, and the single
// entry for input. A backend (headless or a real display) sizes the desktop, feeds it mouse
// and key input through the calls below, and shows or saves its surface after Update.
//
// Input takes the path a user's input takes: a mouse press goes to the window that has
// captured the mouse, else to the deepest visible window under the pointer (a disabled one
// swallows it); a press on a window's scroll bar scrolls it; wheel turns go to the window
// under the pointer and climb to its parents until one uses them; keys go to the window
// with the focus, except Tab, which moves the focus to the next control with WS_TABSTOP in
// the same top-level window.
//
// One desktop per process, used from one thread (the user-interface thread).
#include <functional>
#include <unordered_set>

#include "platform/gdi/CSurface.h"
#include "platform/ui/CWnd.h"

class CDesktop {
public:
    static CDesktop& Get();

    // Resizes the desktop (at least 1 x 1) and repaints everything on the next Update. A
    // top-level window that filled the desktop is resized with it (and gets WM_SIZE).
    void Resize(int width, int height);
    int Width() const { return m_surface.Width(); }
    int Height() const { return m_surface.Height(); }
    CWnd& Root() { return m_root; }
    // A window's client area in desktop coordinates: inside its border, edges and scroll bar.
    static CRect ClientRectOnDesktop(const CWnd& wnd);

    // --- painting
    // Paints every invalid part of every visible window; TRUE when anything was painted.
    bool Update();
    bool NeedsUpdate() const;
    // Counts the paint passes that changed the surface, whoever ran them: a window may paint
    // itself at once (UpdateWindow, RedrawWindow) inside an input handler, so a backend that
    // shows the surface compares this count rather than trusting its own Update's answer.
    unsigned long PaintPasses() const { return m_paintPasses; }
    const CSurface& Surface() const { return m_surface; }
    CSurface& Surface() { return m_surface; }
    // A context onto the surface for `wnd`'s client area, clipped to `clip` (client
    // coordinates) and to what is visible of the window.
    void PrepareContext(CDC& dc, const CWnd& wnd, const CRect& clip);

    // --- input
    void MouseDown(CPoint at);
    void MouseUp(CPoint at);
    void MouseMove(CPoint at);
    void MouseWheel(CPoint at, int delta);
    void KeyDown(UINT key);
    void Char(char c);
    // The deepest visible window under a desktop point (the root when no other).
    CWnd* WindowAt(CPoint at);

    // --- focus, capture and live windows (kept by CWnd)
    CWnd* Focus() const { return m_focus; }
    CWnd* SetFocus(CWnd* wnd);
    CWnd* Capture() const { return m_capture; }
    CWnd* SetCapture(CWnd* wnd);
    bool IsLive(const CWnd* wnd) const { return wnd && m_live.count(wnd) != 0; }
    void AddLive(CWnd* wnd) { m_live.insert(wnd); }
    void RemoveLive(CWnd* wnd);

    // --- modal windows
    // Runs a modal window until `ended` is set, by the driver a backend installed (the
    // headless backend hands the window to the host's or test's answer). Returns at once
    // when no driver is installed.
    using ModalDriver = std::function<void(CWnd& window, const bool& ended)>;
    void SetModalDriver(ModalDriver driver) { m_modalDriver = std::move(driver); }
    void RunModal(CWnd& window, const bool& ended);

private:
    CDesktop();
    ~CDesktop();
    void PaintTree(CWnd& wnd, const CRect& visible, const CRect& inherited);
    void PaintWindow(CWnd& wnd, const CRect& windowScreen, const CRect& dirty, bool eraseAll);
    bool ScrollBarPress(CWnd& wnd, CPoint at);
    void SendMouse(CWnd& wnd, UINT message, CPoint at, WPARAM flags);
    bool AnyInvalid(const CWnd& wnd) const;
    void FocusNextTabStop();

    CWnd m_root;
    CSurface m_surface;
    CWnd* m_focus = nullptr;
    CWnd* m_capture = nullptr;
    std::unordered_set<const CWnd*> m_live;
    ModalDriver m_modalDriver;
    // A drag of a scroll bar's thumb: the window and the pointer's offset into the thumb.
    CWnd* m_thumbDrag = nullptr;
    int m_thumbGrab = 0;
    unsigned long m_paintPasses = 0;
};
