#pragma once
// The label wrapper (StaticClass.h describes the behaviour).
#include "platform/ui/CWnd.h"
#include "platform/ui/StaticClass.h"

class CStatic : public CWnd {
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, "Static", text, style, rect, parent, id);
    }
};
