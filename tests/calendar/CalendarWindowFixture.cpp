#include "tests/calendar/CalendarWindowFixture.h"

#include <algorithm>
#include <cstdlib>

CalendarWindow::CalendarWindow() {
    EXPECT_TRUE(host.CreateEx(0, nullptr, "host", WS_VISIBLE, CRect(0, 0, 520, 360), nullptr, 0));
    EXPECT_TRUE(calendar.CreateEx(0, nullptr, "calendar", WS_CHILD | WS_VISIBLE,
                                  CRect(kLeft, kTop, kLeft + kWidth, kTop + kHeight), &host, 100, nullptr, nullptr,
                                  CRect()));
    Record(calendar, calls);
}

COLORREF CalendarWindow::FaceAt(CWnd& wnd) {
    // Near the bottom right corner, inside the edges and the focus frame: clear of the caption,
    // which starts top left.
    const CRect r = ui.WindowRectOnDesktop(wnd);
    return backend.PixelAt(r.right - 8, r.bottom - 8);
}

namespace {

int Distance(COLORREF a, COLORREF b) {
    int d = 0;
    for (int shift : {0, 8, 16}) d = std::max(d, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return d;
}

}  // namespace

bool Near(COLORREF a, COLORREF b, int tolerance) { return Distance(a, b) <= tolerance; }

// Every pixel inside the button's edges.
template <typename Visit>
void EachInnerPixel(HeadlessBackend& backend, CRect r, Visit&& visit) {
    r.DeflateRect(3, 3);
    const CSurface& pixels = backend.Render();
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) visit(ColorFromPixel(pixels.At(x, y)));
}

bool CalendarWindow::HasInk(CWnd& wnd, COLORREF color) {
    bool found = false;
    EachInnerPixel(backend, ui.WindowRectOnDesktop(wnd), [&](COLORREF c) { found = found || Near(c, color); });
    return found;
}

COLORREF CalendarWindow::InkOf(CWnd& wnd) {
    const COLORREF face = FaceAt(wnd);
    COLORREF ink = face;
    EachInnerPixel(backend, ui.WindowRectOnDesktop(wnd), [&](COLORREF c) {
        if (Distance(c, face) > Distance(ink, face)) ink = c;
    });
    return ink;
}

CCalButton& CalendarWindow::CellOf(const char* isoDate) {
    for (int i = 0; i < CCalWnd::kCells; ++i)
        if (Iso(calendar.Cell(i)->GetTime()) == isoDate) return *calendar.Cell(i);
    ADD_FAILURE() << isoDate << " is not in the grid";
    return *calendar.Cell(0);
}

std::vector<std::string> CalendarWindow::DaysDrawnChosen() {
    std::vector<std::string> days;
    for (int i = 0; i < CCalWnd::kCells; ++i)
        if (FaceAt(*calendar.Cell(i)) == calendar::kFocusFace) days.push_back(Iso(calendar.Cell(i)->GetTime()));
    return days;
}
