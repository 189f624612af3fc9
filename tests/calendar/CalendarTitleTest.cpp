#include <gtest/gtest.h>

#include "calendar/CCalWnd.h"
#include "calendar/CalendarLayout.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/ui/CPaintDC.h"
#include "tests/support/TempDir.h"

// The tool and the demo open the calendar at its roomy size: there, the title of every month of
// every year the grid can show fits its label, measured in the label's own font.
TEST(CalendarTitle, EveryMonthFitsAtTheRoomySize) {
    ScopedTz tz("UTC");
    HeadlessBackend backend(kRoomyCalendarWidth, kRoomyCalendarHeight);
    CCalWnd calendar;
    ASSERT_TRUE(calendar.CreateEx(0, nullptr, "calendar", WS_VISIBLE,
                                  CRect(0, 0, kRoomyCalendarWidth, kRoomyCalendarHeight), nullptr, 0));
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
            calendar.SetCurrentTime(CTime(year, month, 15, 12, 0, 0));
            calendar.SetBaseTime();
            calendar.SetBtnTime();
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
