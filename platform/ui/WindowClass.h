#pragma once
// Window classes: the behaviour a window gets from the class named at its creation, as the
// built-in controls have it ("Edit", "Button", "Static", "SysTreeView32"). A CWnd's message
// map runs first; what it leaves goes to its class's WindowProc, and what the class leaves
// goes to DefaultWindowProc, the behaviour every window shares.
#include <memory>

#include "platform/ui/WindowTypes.h"

class WindowClass {
public:
    virtual ~WindowClass() = default;
    // Handles a message for `wnd`; the base runs DefaultWindowProc.
    virtual LRESULT WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// Every window's default handling: creation succeeds, close destroys, the background is
// erased with the window colour of its kind, text and font are stored, a wheel turn that the
// window does not use goes to its parent, and a control-colour request that nobody answers
// gets the system colours.
LRESULT DefaultWindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);

using WindowClassFactory = std::unique_ptr<WindowClass> (*)();

// Registers a class by name (names compare without regard to case); a later registration
// of the same name replaces the earlier one.
void RegisterWindowClass(const char* name, WindowClassFactory factory);
// TRUE when `name` names a class: *factory is then its factory, or nullptr for the generic
// window (nullptr or "" as the name).
bool FindWindowClass(const char* name, WindowClassFactory* factory);

// The tree view class's name.
constexpr const char* WC_TREEVIEW = "SysTreeView32";
