#pragma once
// The edit control wrapper (EditClass.h describes the behaviour).
#include "platform/ui/CWnd.h"
#include "platform/ui/EditClass.h"

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, "Edit", nullptr, style, rect, parent, id);
    }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly ? 1 : 0)); }
    int GetLineCount() { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    int GetFirstVisibleLine() { return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)); }
    void LineScroll(int lines) { SendMessage(EM_LINESCROLL, 0, lines); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
};
