#pragma once
// The "Button" class: a push button that shows itself pressed while the mouse holds it down
// over it and sends BN_CLICKED (WM_COMMAND) to its parent when released over it, or on the
// space key while it has the focus. An owner-drawn button (BS_OWNERDRAW) asks its parent to
// draw it with WM_DRAWITEM, after WM_CTLCOLORBTN has prepared the context; both reach the
// button itself when the parent reflects them.
#include "platform/ui/CWnd.h"
#include "platform/ui/WindowClass.h"

constexpr int BN_CLICKED = 0;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BST_PUSHED = 0x0004;
constexpr UINT BST_FOCUS = 0x0008;

class ButtonClass : public WindowClass {
public:
    LRESULT WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetPressed(CWnd& wnd, bool pressed);
    void Click(CWnd& wnd);
    void PaintButton(CWnd& wnd);

    bool m_pressed = false;
    bool m_tracking = false;
};

// The push button wrapper. An owner-drawn button class overrides DrawItem: the parent's
// unanswered WM_DRAWITEM comes back to it.
class CButton : public CWnd {
public:
    BOOL Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, "Button", caption, style, rect, parent, id);
    }
    UINT GetState() { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL pushed) { SendMessage(BM_SETSTATE, pushed ? 1 : 0); }
    // Draws the button for an owner-draw request; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (CWnd::OnChildNotify(message, wParam, lParam, result)) return TRUE;
        if (message != WM_DRAWITEM) return FALSE;
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    }
};
