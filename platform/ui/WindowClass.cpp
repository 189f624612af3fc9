#include "platform/ui/WindowClass.h"

#include <map>
#include <string>
#include <strings.h>

#include "platform/gdi/StockObjects.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/TreeViewClass.h"

namespace {

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};
using Registry = std::map<std::string, WindowClassFactory, NoCase>;

template <class T>
std::unique_ptr<WindowClass> Make() {
    return std::make_unique<T>();
}

Registry& Classes() {
    // The control classes every program finds registered.
    static Registry registry = {
        {"Edit", &Make<EditClass>},
        {"Button", &Make<ButtonClass>},
        {"Static", &Make<StaticClass>},
        {WC_TREEVIEW, &Make<TreeViewClass>},
    };
    return registry;
}

HBRUSH DefaultControlColor(CDC* dc, UINT message) {
    const bool edit = message == WM_CTLCOLOREDIT;
    if (dc) {
        dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        dc->SetBkColor(GetSysColor(edit ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    return GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_BTNFACE);
}

}  // namespace

LRESULT WindowClass::WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultWindowProc(wnd, message, wParam, lParam);
}

LRESULT DefaultWindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        wnd.DestroyWindow();
        return 0;
    case WM_ERASEBKGND: {
        CRect client;
        wnd.GetClientRect(&client);
        reinterpret_cast<CDC*>(wParam)->FillSolidRect(client, GetSysColor(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_SETTEXT:
        wnd.m_text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        wnd.Invalidate();
        return TRUE;
    case WM_GETTEXTLENGTH:
        return wnd.m_text.GetLength();
    case WM_GETTEXT: {
        auto* out = reinterpret_cast<char*>(lParam);
        const int size = static_cast<int>(wParam);
        if (!out || size <= 0) return 0;
        const int n = std::min(size - 1, wnd.m_text.GetLength());
        std::copy_n(wnd.m_text.c_str(), n, out);
        out[n] = '\0';
        return n;
    }
    case WM_SETFONT:
        wnd.m_font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(static_cast<std::uintptr_t>(lParam))) wnd.Invalidate();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(wnd.m_font);
    case WM_MOUSEWHEEL:
        return wnd.GetParent() ? wnd.GetParent()->SendMessage(message, wParam, lParam) : 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(DefaultControlColor(reinterpret_cast<CDC*>(wParam), message));
    default:
        return 0;
    }
}

void RegisterWindowClass(const char* name, WindowClassFactory factory) {
    if (name && *name && factory) Classes()[name] = factory;
}

bool FindWindowClass(const char* name, WindowClassFactory* factory) {
    if (!name || !*name) {
        *factory = nullptr;
        return true;
    }
    const auto it = Classes().find(name);
    if (it == Classes().end()) return false;
    *factory = it->second;
    return true;
}
