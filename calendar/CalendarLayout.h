#pragma once
// Where the calendar window places its children for a client size: the two navigation
// buttons on the title line, the title between them, the weekday headers below, and the 6 x 7
// cells under the headers. Eight columns' and rows' worth of space, less a 20-pixel margin,
// are shared out by truncating division.
#include <array>

#include "platform/gdi/Geometry.h"

// A client size at which every title from 1970 to 2106 shows whole, descenders included, in the
// title's default font and with the default host's month names: the size the tool and the demo
// open the calendar at.
constexpr int kRoomyCalendarWidth = 620, kRoomyCalendarHeight = 600;

struct CalendarLayout {
    int columnWidth, rowHeight, halfRow;
    CRect previousMonth, nextMonth, title;
    std::array<CRect, 7> headers;
    std::array<CRect, 42> cells;  // row-major

    static CalendarLayout For(int width, int height);
};
