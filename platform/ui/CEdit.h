#pragma once
// The "Edit" class. A single-line field (the default) takes typed characters, backspace,
// delete, left, right, home and end at its caret; ES_READONLY refuses changes. A multi-line
// edit (ES_MULTILINE) breaks its text at CR LF pairs and wraps long lines at word boundaries
// to the client width; it scrolls by rows with its vertical scroll bar (WS_VSCROLL), the wheel
// and the up, down, page, home and end keys. A read-only or disabled edit asks its parent for
// colours with WM_CTLCOLORSTATIC, an editable one with WM_CTLCOLOREDIT. Changes by the user
// send EN_CHANGE (WM_COMMAND) to the parent.
#include <vector>

#include "platform/core/CString.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/WindowClass.h"

constexpr int EN_CHANGE = 0x0300;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_LINESCROLL = 0x00B6;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;

class EditClass : public WindowClass {
public:
    LRESULT WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        int start;   // offset of the row's first character in the text
        int length;  // characters shown (without the CR LF)
    };

    void Relayout(CWnd& wnd);
    void ScrollTo(CWnd& wnd, int top);
    void OnKey(CWnd& wnd, UINT key);
    void OnChar(CWnd& wnd, char c);
    void Replace(CWnd& wnd, int from, int to, const char* insert);
    void PlaceCaret(CWnd& wnd, CPoint at);
    void Paint(CWnd& wnd);
    void KeepCaretInView(CDC& dc, int width);
    int RowHeight(CWnd& wnd);
    int VisibleRows(CWnd& wnd);
    int RowOfCaret() const;
    bool Multiline(const CWnd& wnd) const;
    bool ReadOnly(const CWnd& wnd) const;

    CString m_text;  // a copy of the window text, kept with the row table
    std::vector<Row> m_rows;
    int m_top = 0;     // first row shown
    int m_caret = 0;   // offset in the text
    int m_scrollX = 0; // single-line: pixels scrolled to keep the caret in view
};

// The edit control wrapper.
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
