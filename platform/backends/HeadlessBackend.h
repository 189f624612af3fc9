#pragma once
// The headless backend, the default: a desktop of a fixed size painted into a surface, PNG
// snapshots of it, and synthetic mouse and key input fed through the desktop's input calls,
// the path a real display's input takes. There is no clock and no event queue: everything
// happens when called.
//
// Supports: desktop size and resizing, rendering and PNG snapshots, pixel reads, mouse press, release,
// move, click and wheel, a click on a tree item as a person makes it, key presses and typed
// text, and the answer to modal windows (a function the host or test gives; a modal window
// that it leaves open ends as cancelled). The backend records the text of every message box; one
// with only OK is answered with OK at once, so a message never waits, and a question (Yes, No)
// goes to that function like any modal window, ending as No when it is left open.
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/CSurface.h"
#include "platform/ui/CDesktop.h"
#include "platform/ui/CTreeCtrl.h"

class HeadlessBackend {
public:
    // Sizes the desktop and takes over its modal windows until destroyed.
    HeadlessBackend(int width, int height);
    ~HeadlessBackend();
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    // Resizes the desktop, as a person resizes a real display's window: the window that filled
    // it lays itself out for the new size.
    void Resize(int width, int height) { m_desktop.Resize(width, height); }
    // Paints what is invalid and returns the desktop's pixels.
    const CSurface& Render();
    // The colour at a desktop point after rendering; CLR_INVALID outside the desktop.
    COLORREF PixelAt(int x, int y);
    // Writes the rendered desktop as PNG; throws std::runtime_error when it cannot be written.
    void SaveSnapshot(const std::string& path);

    void MouseDown(CPoint at) { m_desktop.MouseDown(at); }
    void MouseUp(CPoint at) { m_desktop.MouseUp(at); }
    void MouseMove(CPoint at) { m_desktop.MouseMove(at); }
    void Click(CPoint at);
    // Clicks a window's client point (converted to desktop coordinates).
    void ClickClient(CWnd& wnd, CPoint at);
    // Clicks the middle of an item's label, after opening its parents and scrolling it into
    // view as a person would first. FALSE when the item is not in the tree.
    BOOL ClickTreeItem(CTreeCtrl& tree, HTREEITEM item);
    void Wheel(CPoint at, int delta) { m_desktop.MouseWheel(at, delta); }
    void Key(UINT key) { m_desktop.KeyDown(key); }
    void Type(const std::string& text);

    // What answers the next modal windows: called with the window once it is shown.
    using ModalAnswer = std::function<void(CWnd& window)>;
    void SetModalAnswer(ModalAnswer answer) { m_answer = std::move(answer); }

    // The texts of the message boxes shown so far, oldest first.
    const std::vector<std::string>& Messages() const { return m_messages; }
    void ClearMessages() { m_messages.clear(); }

private:
    CDesktop& m_desktop;
    ModalAnswer m_answer;
    std::vector<std::string> m_messages;
};
