#pragma once
// The push button wrapper (ButtonClass.h describes the behaviour). An owner-drawn button
// class overrides DrawItem: the parent's unanswered WM_DRAWITEM comes back to it.
#include "platform/ui/ButtonClass.h"
#include "platform/ui/CWnd.h"

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
