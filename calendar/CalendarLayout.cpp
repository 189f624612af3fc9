#include "calendar/CalendarLayout.h"

CalendarLayout CalendarLayout::For(int width, int height) {
    CalendarLayout l{};
    const int w = l.columnWidth = (width - 20) / 8;
    const int h = l.rowHeight = (height - 20) / 8;
    const int half = l.halfRow = h / 2;
    l.previousMonth = CRect(62, 40, 62 + w, 40 + half);
    l.nextMonth = CRect(62 + 6 * w, 40, 62 + 7 * w, 40 + half);
    l.title = CRect(102 + w, 40, 22 + 6 * w, 45 + half);
    for (int i = 0; i < 7; ++i) l.headers[i] = CRect(62 + i * w, 60 + half, 62 + (i + 1) * w, 60 + 2 * half);
    const int gridTop = 60 + 2 * half;
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 7; ++c)
            l.cells[r * 7 + c] = CRect(62 + c * w, gridTop + r * h, 62 + (c + 1) * w, gridTop + (r + 1) * h);
    return l;
}
