#include "tests/calendar/CalendarWindowFixture.h"

CalendarWindow::CalendarWindow() {
    EXPECT_TRUE(host.CreateEx(0, nullptr, "host", WS_VISIBLE, CRect(0, 0, 520, 360), nullptr, 0));
    EXPECT_TRUE(calendar.CreateEx(0, nullptr, "calendar", WS_CHILD | WS_VISIBLE,
                                  CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight), &host, 100, nullptr, nullptr,
                                  CRect()));
    Record(calendar, calls);
}

CRect CalendarWindow::ScreenRect(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

void CalendarWindow::Click(CWnd& wnd) { backend.ClickClient(wnd, CPoint(5, 5)); }

COLORREF CalendarWindow::FaceAt(CWnd& wnd) {
    // The bottom right corner inside the edges: clear of the caption, which starts top left.
    const CRect r = ScreenRect(wnd);
    return backend.PixelAt(r.right - 5, r.bottom - 5);
}

bool CalendarWindow::HasInk(CWnd& wnd, COLORREF color) {
    CRect r = ScreenRect(wnd);
    r.DeflateRect(3, 3);
    const CSurface& pixels = backend.Render();
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (ColorFromPixel(pixels.At(x, y)) == color) return true;
    return false;
}

CCalButton& CalendarWindow::CellOf(const char* isoDate) {
    for (int i = 0; i < CCalWnd::kCells; ++i)
        if (Iso(calendar.Cell(i)->GetTime()) == isoDate) return *calendar.Cell(i);
    ADD_FAILURE() << isoDate << " is not in the grid";
    return *calendar.Cell(0);
}
