#pragma once
// The control classes every program finds registered: "Edit", "Button", "Static" and the
// tree view.
#include <span>

#include "platform/ui/WindowClass.h"

struct BuiltInClass {
    const char* name;
    WindowClassFactory factory;
};

std::span<const BuiltInClass> BuiltInClasses();
