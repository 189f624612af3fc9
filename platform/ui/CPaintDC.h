#pragma once
// Contexts for a window's client area: CPaintDC inside WM_PAINT (clipped to the part being
// painted; nothing is drawn when made outside a paint), CClientDC at any time (clipped to
// what is visible of the client area). Both start with the window's font selected, or the
// default GUI font when it has none.
#include "platform/gdi/CDC.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    CWnd* m_pWnd;

protected:
    CClientDC(CWnd* wnd, const CRect& clip);
};

class CPaintDC : public CClientDC {
public:
    explicit CPaintDC(CWnd* wnd);
};
