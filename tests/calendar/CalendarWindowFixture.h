#pragma once
// A calendar window of 400 x 300 inside a host window on a headless desktop, created while the
// clock reads 15 January 2006 (a month that begins on a Sunday), with its callbacks logged.
#include <gtest/gtest.h>

#include "calendar/CCalWnd.h"
#include "platform/backends/HeadlessBackend.h"
#include "tests/calendar/CallbackLog.h"
#include "tests/support/TempDir.h"

class CalendarWindow : public testing::Test {
protected:
    static constexpr int kLeft = 10, kTop = 10, kWidth = 400, kHeight = 300;

    CalendarWindow();

    CRect ScreenRect(CWnd& wnd);
    void Click(CWnd& wnd);
    COLORREF FaceAt(CWnd& wnd);
    // Whether any pixel of exactly `color` lies inside the button, inside its edges.
    bool HasInk(CWnd& wnd, COLORREF color);
    CCalButton& CellOf(const char* isoDate);

    ScopedTz tz{"UTC"};
    ScopedClock clock{CTime(2006, 1, 15, 12, 0, 0).GetTime()};
    HeadlessBackend backend{520, 360};
    CWnd host;
    CCalWnd calendar;
    Calls calls;
};
