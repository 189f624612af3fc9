#include <gtest/gtest.h>

#include "calendar/CCalWnd.h"
#include "calendar/CalendarLayout.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/ui/CPaintDC.h"
#include "tests/support/TempDir.h"

namespace {

// The calendar as the tool and the demo open it: at its roomy size.
class CalendarTitle : public testing::Test {
protected:
    CalendarTitle() {
        EXPECT_TRUE(calendar.CreateEx(0, nullptr, "calendar", WS_VISIBLE,
                                      CRect(0, 0, kRoomyCalendarWidth, kRoomyCalendarHeight), nullptr, 0));
    }
    void Show(int year, int month) {
        calendar.SetCurrentTime(CTime(year, month, 15, 12, 0, 0));
        calendar.SetBaseTime();
        calendar.SetBtnTime();
    }

    ScopedTz tz{"UTC"};
    HeadlessBackend backend{kRoomyCalendarWidth, kRoomyCalendarHeight};
    CCalWnd calendar;
};

// There, the title of every month of every year the grid can show fits its label, measured in
// the label's own font.
TEST_F(CalendarTitle, EveryMonthFitsAtTheRoomySize) {
    CCalStatic& title = *calendar.Title();
    CRect room;
    title.GetClientRect(&room);
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&title.GetFontDescription()));
    CClientDC dc(&title);
    dc.SelectObject(&font);
    CSize widest;
    std::string widestTitle;
    for (int year = 1970; year <= 2106; ++year) {
        for (int month = 1; month <= 12; ++month) {
            Show(year, month);
            const CString text = title.GetWindowTextString();
            const CSize extent = dc.GetTextExtent(text);
            if (extent.cx > widest.cx) widestTitle = text.str();
            widest.cx = std::max(widest.cx, extent.cx);
            widest.cy = std::max(widest.cy, extent.cy);
        }
    }
    EXPECT_LE(widest.cx, room.Width()) << "\"" << widestTitle << "\" is wider than the title";
    EXPECT_LE(widest.cy, room.Height()) << "the title's line is taller than the title";
}

// The same in pixels, as the tool and the demo draw it: the ink of a title whose month name
// hangs below the line ("July", "August", "September") stays inside the label, clear of its
// last row, so no descender is cut.
TEST_F(CalendarTitle, DescendersAreDrawnWholeAtTheRoomySize) {
    CCalStatic& title = *calendar.Title();
    const CRect client = CDesktop::ClientRectOnDesktop(title);
    for (int month : {7, 8, 9}) {
        Show(2026, month);
        const CSurface& pixels = backend.Render();
        const Pixel background = pixels.At(client.left + 1, client.top + 1);
        int lowestInk = -1;
        for (int y = client.top; y < client.bottom; ++y)
            for (int x = client.left; x < client.right; ++x)
                if (pixels.At(x, y) != background) lowestInk = std::max(lowestInk, y);
        SCOPED_TRACE(title.GetWindowTextString().str());
        ASSERT_GE(lowestInk, 0) << "no title drawn";
        EXPECT_LT(lowestInk, client.bottom - 1) << "the ink reaches the label's last row: a descender is cut";
    }
}

}  // namespace
