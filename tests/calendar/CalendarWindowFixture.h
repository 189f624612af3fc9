#pragma once
// A calendar window of 400 x 300 inside a host window on a headless desktop, created while the
// clock reads 15 January 2006 (a month that begins on a Sunday), with its callbacks logged.
#include <gtest/gtest.h>

#include "calendar/CCalWnd.h"
#include "platform/backends/HeadlessBackend.h"
#include "tests/calendar/CallbackLog.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowDriver.h"

// Colours that differ by at most `tolerance` in each channel.
bool Near(COLORREF a, COLORREF b, int tolerance = 0x20);

class CalendarWindow : public testing::Test {
protected:
    static constexpr int kLeft = 10, kTop = 10, kWidth = 400, kHeight = 300;

    CalendarWindow();

    COLORREF FaceAt(CWnd& wnd);
    // Whether any pixel near `color` lies inside the button's edges.
    bool HasInk(CWnd& wnd, COLORREF color);
    // The caption's colour: of the pixels inside the edges, the one that differs most from the
    // face (glyph edges are blends of the two).
    COLORREF InkOf(CWnd& wnd);
    CCalButton& CellOf(const char* isoDate);
    // The days of the cells drawn with the focus look, in grid order.
    std::vector<std::string> DaysDrawnChosen();

    ScopedTz tz{"UTC"};
    ScopedClock clock{CTime(2006, 1, 15, 12, 0, 0).GetTime()};
    HeadlessBackend backend{520, 360};
    WindowDriver ui{backend};
    CWnd host;
    CCalWnd calendar;
    Calls calls;
};
