#pragma once
// A window: a rectangle in its parent's client area with a style, a text, a font, children,
// and the behaviour of its window class (generic, or a built-in control class chosen by name
// at creation). Messages are delivered synchronously: SendMessage runs WindowProc, which
// looks the message up in the class's message map chain (MessageMap.h) and otherwise runs
// the default handling of the window class.
//
// Ownership: a CWnd object is owned by whoever made it (often a parent as a member or through
// a pointer); the window it holds is destroyed with its children by DestroyWindow or the
// object's destructor. Destroying a window never deletes C++ objects, except a window that
// deletes itself in PostNcDestroy. A handle (HWND) is the CWnd itself and is valid while
// IsWindow says so.
//
// Reflection: a parent asked to draw an owner-drawn control or for a control's colours runs
// its own table first and otherwise hands the request back to the control (OnChildNotify);
// notifications and commands go to the control's own reflect entries first, as the framework
// does, and then to the parent's table.
#include <memory>
#include <vector>

#include "platform/core/CString.h"
#include "platform/core/RuntimeClass.h"
#include "platform/gdi/CFont.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/WindowStyles.h"

class WindowClass;
class CDesktop;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

class CWnd : public CObject {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND wnd) { return wnd; }

    // --- creation and destruction
    // Creates a window of the class named `className` (nullptr or "" for a generic window;
    // "Edit", "Button", "Static", "SysTreeView32" or any registered class). A window with the
    // WS_CHILD style needs a parent; one without a parent is placed on the desktop. FALSE
    // for an unknown class, a child without a parent, an object that has a window already, or
    // when WM_CREATE answers -1 (the window is then destroyed again).
    virtual BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                          const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, UINT id, void* param = nullptr);
    BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, void* param = nullptr) {
        return CreateEx(0, className, windowName, style, rect, parent, id, param);
    }
    // Sends WM_DESTROY to the window and then to its children (parents first), then
    // WM_NCDESTROY (children first); the window leaves its parent. FALSE without a window.
    virtual BOOL DestroyWindow();

    // --- messages
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessageA(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessage(message, wParam, lParam); }
    // The default handling of the message being handled now (for a handler's base call).
    LRESULT Default();
    static const MessageMap* ThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return ThisMessageMap(); }

    // --- family
    CWnd* GetParent() const { return m_parent; }
    const std::vector<CWnd*>& GetChildren() const { return m_children; }
    // The first child with that control ID, or nullptr.
    CWnd* GetDlgItem(UINT id) const;
    UINT GetDlgCtrlID() const { return m_id; }
    BOOL IsChild(const CWnd* wnd) const;

    // --- geometry: the window rectangle relative to the parent's client area (desktop
    // coordinates for a window without a parent), the client rectangle from 0, 0.
    void GetWindowRect(RECT* rect) const;  // in desktop coordinates
    void GetClientRect(RECT* rect) const;
    CRect GetRectInParent() const { return m_rect; }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE) {
        MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
    }
    void ClientToScreen(POINT* point) const;
    void ScreenToClient(POINT* point) const;
    // The client area's top-left corner within the window rectangle.
    CPoint ClientOffset() const;

    // --- styles
    DWORD GetStyle() const { return m_style; }
    DWORD GetExStyle() const { return m_exStyle; }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // --- text and font (through WM_SETTEXT, WM_GETTEXT, WM_SETFONT, WM_GETFONT)
    void SetWindowText(const char* text);
    void SetWindowTextA(const char* text) { SetWindowText(text); }
    void SetWindowText(const CString& text) { SetWindowText(text.c_str()); }
    // Copies at most size - 1 characters and a terminator; returns the characters copied.
    int GetWindowText(char* buffer, int size) const;
    void GetWindowText(CString& text) const;
    CString GetWindowTextString() const;
    int GetWindowTextLength() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    // The window's font, or nullptr when it draws with the default GUI font.
    CFont* GetFont() const;

    // --- states
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const { return m_hWnd && !(m_style & WS_DISABLED); }
    BOOL ShowWindow(int command);
    // Visible itself and all its parents.
    BOOL IsWindowVisible() const;

    // --- focus and capture
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static BOOL ReleaseCapture();
    static CWnd* GetCapture();

    // --- painting
    void Invalidate(BOOL erase = TRUE) { InvalidateRect(nullptr, erase); }
    // Adds a client rectangle (the whole client area for nullptr) to the area to repaint.
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void ValidateRect(const RECT* rect);
    // Paints now what is invalid in this window and its children.
    void UpdateWindow();
    // Invalidates (with erasing) and paints at once: the flags are accepted as given.
    BOOL RedrawWindow(const RECT* rect = nullptr, void* region = nullptr, UINT flags = 0);
    BOOL GetUpdateRect(RECT* rect) const;
    // A context for the client area, clipped to what is visible of it.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // --- the vertical scroll bar of a window with WS_VSCROLL
    BOOL SetScrollInfo(int bar, const SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollPos(int) const { return m_scroll.nPos; }
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, int* minPos, int* maxPos) const;
    // The scroll bar's rectangle relative to the window rectangle; empty without WS_VSCROLL.
    CRect ScrollBarRect() const;

    // --- what the desktop's paint pass and input use
    struct PaintState {
        CRect update;         // client coordinates; empty when nothing is to be painted
        bool erase = false;   // WM_ERASEBKGND before the next WM_PAINT
        CRect paintClip;      // during WM_PAINT: the client area being painted
        bool painting = false;
        bool frame = false;   // the border or scroll bar changed
    };
    PaintState& Paint() { return m_paint; }
    WindowClass* GetWindowClass() const { return m_class.get(); }

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window class's handling (generic windows: DefaultWindowProc).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A reflected request from the parent: runs this window's WM_REFLECT_BASE + message entry;
    // FALSE when there is none.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called after the window is gone (WM_NCDESTROY); a self-deleting window deletes itself.
    virtual void PostNcDestroy() {}

    // Handlers for derived classes' base calls: each runs the default handling.
    int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
    void OnDestroy() { Default(); }
    void OnClose() { Default(); }
    void OnPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

private:
    friend class CDesktop;
    friend LRESULT DefaultWindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);
    struct Current {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Unlink();
    void DestroyTree();
    void FinishTree();
    CDesktop& Desktop() const;

    CWnd* m_parent = nullptr;
    std::vector<CWnd*> m_children;
    CRect m_rect;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    UINT m_id = 0;
    CString m_text;
    HFONT m_font = nullptr;
    SCROLLINFO m_scroll;
    PaintState m_paint;
    std::unique_ptr<WindowClass> m_class;
    std::vector<Current> m_current;
    std::vector<std::unique_ptr<CDC>> m_dcs;
    bool m_destroying = false;
};

// The same calls on handles.
BOOL IsWindow(HWND wnd);
LRESULT SendMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessageA(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessage(wnd, message, wParam, lParam);
}
