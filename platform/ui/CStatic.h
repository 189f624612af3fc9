#pragma once
// The "Static" class: a label that shows its text left-aligned, centred (SS_CENTER) or
// right-aligned (SS_RIGHT), wrapped at words, or on one line centred vertically
// (SS_CENTERIMAGE). Its parent chooses the colours and may choose the font through
// WM_CTLCOLORSTATIC, which reaches the label itself when the parent reflects it. SS_SUNKEN
// gives it the static edge.
#include "platform/ui/CWnd.h"
#include "platform/ui/WindowClass.h"

class StaticClass : public WindowClass {
public:
    LRESULT WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The label wrapper.
class CStatic : public CWnd {
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, "Static", text, style, rect, parent, id);
    }
};
