#pragma once
// Message maps: one table per window class, chained to the table of its base class. A window
// looks a message up in its own table first, then in each base's, and the first entry that
// matches handles it; a message that no table holds goes to the window's default handling.
//
// Entries are made by the functions below from a handler member function, whose signature
// each function fixes, e.g. in a class's .cpp file:
//
//   const MessageMap* CLogViewer2::ThisMessageMap() {
//       static constexpr MessageMapEntry entries[] = {
//           msgmap::OnCreate<&CLogViewer2::OnCreate>(),
//           msgmap::OnNotify<&CLogViewer2::OnTreeMonthSelect>(TVN_SELCHANGED, 1001),
//       };
//       static const MessageMap map{CWnd::ThisMessageMap(), entries};
//       return &map;
//   }
//
// Notifications match on their code and the sending control's ID; commands on the
// notification code and a range of control IDs. "Reflect" entries belong in a control's table:
// they receive what the control sent to its parent, handed back by the parent.
#include <span>

#include "platform/ui/WindowTypes.h"

struct MessageMapEntry {
    UINT message = 0;
    UINT messageLast = 0;  // the entry covers messages [message, messageLast]
    int code = 0;          // notification or command code (WM_NOTIFY, WM_COMMAND)
    UINT idFirst = 0;      // control IDs [idFirst, idLast] (WM_NOTIFY, WM_COMMAND)
    UINT idLast = 0;
    LRESULT (*call)(CWnd& self, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
};

struct MessageMap {
    const MessageMap* base = nullptr;
    std::span<const MessageMapEntry> entries;
};

// The first entry of `map` or its bases that handles the message, or nullptr.
const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam, LPARAM lParam);

namespace msgmap {

template <class F>
struct Owner;
template <class C, class R, class... A>
struct Owner<R (C::*)(A...)> {
    using type = C;
};
template <auto F>
using OwnerOf = typename Owner<decltype(F)>::type;

template <auto F>
OwnerOf<F>& Self(CWnd& wnd) {
    return static_cast<OwnerOf<F>&>(wnd);
}

constexpr MessageMapEntry Entry(UINT message, LRESULT (*call)(CWnd&, UINT, WPARAM, LPARAM)) {
    return {message, message, 0, 0, 0, call};
}

// int OnCreate(LPCREATESTRUCT): -1 stops the creation.
template <auto F>
constexpr MessageMapEntry OnCreate() {
    return Entry(WM_CREATE, [](CWnd& w, UINT, WPARAM, LPARAM l) -> LRESULT {
        return (Self<F>(w).*F)(reinterpret_cast<LPCREATESTRUCT>(l));
    });
}

// void handler() for messages without parameters: WM_DESTROY, WM_CLOSE, WM_PAINT.
template <auto F>
constexpr MessageMapEntry OnPlain(UINT message) {
    return Entry(message, [](CWnd& w, UINT, WPARAM, LPARAM) -> LRESULT {
        (Self<F>(w).*F)();
        return 0;
    });
}
template <auto F>
constexpr MessageMapEntry OnDestroy() { return OnPlain<F>(WM_DESTROY); }
template <auto F>
constexpr MessageMapEntry OnClose() { return OnPlain<F>(WM_CLOSE); }
template <auto F>
constexpr MessageMapEntry OnPaint() { return OnPlain<F>(WM_PAINT); }

// BOOL OnEraseBkgnd(CDC*): non-zero when the background was erased.
template <auto F>
constexpr MessageMapEntry OnEraseBkgnd() {
    return Entry(WM_ERASEBKGND, [](CWnd& w, UINT, WPARAM p, LPARAM) -> LRESULT {
        return (Self<F>(w).*F)(reinterpret_cast<CDC*>(p));
    });
}

// void OnXxx(NMHDR*, LRESULT*) for notification `code` from control `id`.
template <auto F>
constexpr MessageMapEntry OnNotify(int code, UINT id) {
    return {WM_NOTIFY, WM_NOTIFY, code, id, id, [](CWnd& w, UINT, WPARAM, LPARAM l) -> LRESULT {
                LRESULT result = 0;
                (Self<F>(w).*F)(reinterpret_cast<NMHDR*>(l), &result);
                return result;
            }};
}
// The same, in the sending control's own table.
template <auto F>
constexpr MessageMapEntry OnNotifyReflect(int code) {
    constexpr UINT message = WM_REFLECT_BASE + WM_NOTIFY;
    return {message, message, code, 0, 0xFFFF, [](CWnd& w, UINT, WPARAM, LPARAM l) -> LRESULT {
                LRESULT result = 0;
                (Self<F>(w).*F)(reinterpret_cast<NMHDR*>(l), &result);
                return result;
            }};
}

// void OnXxx() for command `code` (BN_CLICKED, ...) from control `id`.
template <auto F>
constexpr MessageMapEntry OnCommand(int code, UINT id) {
    return {WM_COMMAND, WM_COMMAND, code, id, id, [](CWnd& w, UINT, WPARAM, LPARAM) -> LRESULT {
                (Self<F>(w).*F)();
                return 0;
            }};
}
// void OnXxx(UINT id) for command `code` from any control in [first, last].
template <auto F>
constexpr MessageMapEntry OnCommandRange(int code, UINT first, UINT last) {
    return {WM_COMMAND, WM_COMMAND, code, first, last, [](CWnd& w, UINT, WPARAM p, LPARAM) -> LRESULT {
                (Self<F>(w).*F)(LOWORD(p));
                return 0;
            }};
}
// void OnXxx() in the sending control's own table.
template <auto F>
constexpr MessageMapEntry OnCommandReflect(int code) {
    constexpr UINT message = WM_REFLECT_BASE + WM_COMMAND;
    return {message, message, code, 0, 0xFFFF, [](CWnd& w, UINT, WPARAM, LPARAM) -> LRESULT {
                (Self<F>(w).*F)();
                return 0;
            }};
}

// void OnDrawItem(int id, LPDRAWITEMSTRUCT) in the parent's table.
template <auto F>
constexpr MessageMapEntry OnDrawItem() {
    return Entry(WM_DRAWITEM, [](CWnd& w, UINT, WPARAM p, LPARAM l) -> LRESULT {
        (Self<F>(w).*F)(static_cast<int>(p), reinterpret_cast<LPDRAWITEMSTRUCT>(l));
        return TRUE;
    });
}

// The control-colour kind (CTLCOLOR_EDIT, ...) of a control-colour message, reflected or not.
constexpr UINT CtlColorKind(UINT message) {
    const UINT base = message >= WM_REFLECT_BASE ? message - WM_REFLECT_BASE : message;
    return base - WM_CTLCOLOREDIT + CTLCOLOR_EDIT;
}
static_assert(CtlColorKind(WM_CTLCOLORBTN) == CTLCOLOR_BTN && CtlColorKind(WM_CTLCOLORSTATIC) == CTLCOLOR_STATIC);

// HBRUSH OnCtlColor(CDC*, CWnd* control, UINT kind) in the parent's table, for every
// control-colour message.
template <auto F>
constexpr MessageMapEntry OnCtlColor() {
    return {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, 0, 0, 0, [](CWnd& w, UINT m, WPARAM p, LPARAM l) -> LRESULT {
                return reinterpret_cast<LRESULT>(
                    (Self<F>(w).*F)(reinterpret_cast<CDC*>(p), reinterpret_cast<CWnd*>(l), CtlColorKind(m)));
            }};
}
// HBRUSH CtlColor(CDC*, UINT kind) in the control's own table: the reflected request.
template <auto F>
constexpr MessageMapEntry OnCtlColorReflect() {
    return {WM_REFLECT_BASE + WM_CTLCOLOREDIT, WM_REFLECT_BASE + WM_CTLCOLORSTATIC, 0, 0, 0,
            [](CWnd& w, UINT m, WPARAM p, LPARAM) -> LRESULT {
                return reinterpret_cast<LRESULT>((Self<F>(w).*F)(reinterpret_cast<CDC*>(p), CtlColorKind(m)));
            }};
}

// LRESULT OnXxx(WPARAM, LPARAM) for any message.
template <auto F>
constexpr MessageMapEntry OnMessage(UINT message) {
    return Entry(message, [](CWnd& w, UINT, WPARAM p, LPARAM l) -> LRESULT { return (Self<F>(w).*F)(p, l); });
}

// void OnXxx(UINT flags, CPoint) for WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, ...
template <auto F>
constexpr MessageMapEntry OnMouse(UINT message) {
    return Entry(message, [](CWnd& w, UINT, WPARAM p, LPARAM l) -> LRESULT {
        (Self<F>(w).*F)(static_cast<UINT>(p), CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l)));
        return 0;
    });
}

// void OnKeyDown(UINT key, UINT repeat, UINT flags) for WM_KEYDOWN and WM_CHAR.
template <auto F>
constexpr MessageMapEntry OnKey(UINT message) {
    return Entry(message, [](CWnd& w, UINT, WPARAM p, LPARAM l) -> LRESULT {
        (Self<F>(w).*F)(static_cast<UINT>(p), static_cast<UINT>(l & 0xFFFF), static_cast<UINT>((l >> 16) & 0xFFFF));
        return 0;
    });
}

}  // namespace msgmap
