// How the calendar looks: faces and captions by day, the focus look, the colour and font
// operations and how long their effects last, disabling, and the background bitmap.
#include <gtest/gtest.h>

#include <map>

#include "platform/gdi/StockObjects.h"
#include "tests/calendar/CalendarWindowFixture.h"
#include "tests/support/RunCommand.h"

namespace {

using namespace calendar;

constexpr COLORREF kBlack = 0x000000, kGreen = 0x00FF00;

std::map<int, COLORREF> Faces(CCalWnd& calendar) {
    std::map<int, COLORREF> faces;
    for (int i = 0; i < CCalWnd::kCells; ++i) faces[i] = calendar.Cell(i)->GetFaceColor();
    return faces;
}

TEST_F(CalendarWindow, WeekendsAndDaysOfOtherMonthsHaveTheirColours) {
    struct Case {
        const char* date;
        COLORREF face;
        COLORREF ink;
    };
    const Case cases[] = {
        {"2006-01-08", kSundayFace, kBlack},
        {"2006-01-14", kSaturdayFace, kBlack},
        {"2006-01-10", kGrey, kBlack},
        {"2006-02-01", kGrey, kOtherMonthText},
        {"2005-12-31", kSaturdayFace, kOtherMonthText},
    };
    for (const Case& c : cases) {
        CCalButton& cell = CellOf(c.date);
        EXPECT_EQ(FaceAt(cell), c.face) << c.date;
        EXPECT_TRUE(Near(InkOf(cell), c.ink)) << c.date << " " << std::hex << InkOf(cell);
    }
    // The raised edge: a black frame, then the grey edge inside it.
    const CRect r = ui.WindowRectOnDesktop(CellOf("2006-01-10"));
    EXPECT_EQ(backend.PixelAt(r.left, r.top + 10), kBlack);
    EXPECT_EQ(backend.PixelAt(r.left + 1, r.top + 10), GetSysColor(COLOR_BTNSHADOW));
    // The headers take the weekend colours as their backgrounds.
    const CRect sunday = ui.WindowRectOnDesktop(*calendar.Header(0));
    const CRect saturday = ui.WindowRectOnDesktop(*calendar.Header(6));
    EXPECT_EQ(backend.PixelAt(sunday.left + 3, sunday.top + 3), kSundayFace);
    EXPECT_EQ(backend.PixelAt(saturday.left + 3, saturday.top + 3), kSaturdayFace);
}

// The top edge of the dotted frame 4 pixels inside the button: inverted pixels among the face's.
bool HasFocusFrame(HeadlessBackend& backend, const CRect& button) {
    const COLORREF inverted = ~kFocusFace & 0xFFFFFF;
    int dots = 0;
    for (int x = button.left + 4; x < button.right - 4; ++x) dots += backend.PixelAt(x, button.top + 4) == inverted;
    return dots > 0;
}

TEST_F(CalendarWindow, AFocusedDayOfTheShownMonthShowsTheFocusLook) {
    CCalButton& cell = CellOf("2006-01-18");
    ui.Click(cell);
    EXPECT_EQ(CWnd::GetFocus(), &cell);
    EXPECT_EQ(FaceAt(cell), kFocusFace);
    EXPECT_TRUE(Near(InkOf(cell), kFocusText));
    EXPECT_TRUE(HasFocusFrame(backend, ui.WindowRectOnDesktop(cell)));
    // A day of another month keeps its own look while it has the focus.
    calendar.Cell(0)->SetFocus();
    EXPECT_EQ(FaceAt(*calendar.Cell(0)), kSundayFace);
    EXPECT_FALSE(HasFocusFrame(backend, ui.WindowRectOnDesktop(*calendar.Cell(0))));
    EXPECT_EQ(FaceAt(cell), kGrey) << "the look leaves with the focus";
}

TEST_F(CalendarWindow, AMarkedDayTakesTheFocusWhenPainted) {
    CCalButton& cell = CellOf("2006-01-12");
    calendar.SetSpecialDayClicked(CTime(2006, 1, 12, 23, 0, 0), 1);
    EXPECT_NE(CWnd::GetFocus(), &cell) << "nothing happens before the next paint";
    EXPECT_EQ(FaceAt(cell), kFocusFace);
    EXPECT_EQ(CWnd::GetFocus(), &cell);
}

TEST_F(CalendarWindow, MonthButtonColourAndGridTextColourLastUntilTheMonthChanges) {
    calendar.SetMonthBackColor(kGreen);
    calendar.SetGridFontColor(0x0000FF);
    EXPECT_EQ(FaceAt(*calendar.NextMonthButton()), kGreen);
    EXPECT_EQ(FaceAt(*calendar.PreviousMonthButton()), kGreen);
    EXPECT_TRUE(Near(InkOf(CellOf("2006-01-10")), 0x0000FF));
    ui.Click(*calendar.NextMonthButton());
    EXPECT_EQ(FaceAt(*calendar.NextMonthButton()), kGrey);
    EXPECT_EQ(FaceAt(*calendar.PreviousMonthButton()), kGrey);
    EXPECT_TRUE(Near(InkOf(CellOf("2006-02-14")), kBlack));
}

TEST_F(CalendarWindow, TheGridFontsFaceColourOutlivesAMonthChange) {
    constexpr COLORREF kFace = 0x40E0E0;
    calendar.SetGridFont(0x800000, kFace, 14, "DejaVu Serif", 1, 1);
    const LOGFONT& font = calendar.Cell(9)->GetFontDescription();
    EXPECT_EQ(font.lfHeight, -14);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_STREQ(font.lfFaceName, "DejaVu Serif");
    EXPECT_STREQ(calendar.NextMonthButton()->GetFontDescription().lfFaceName, "verdana");
    ui.Click(*calendar.NextMonthButton());
    EXPECT_EQ(FaceAt(CellOf("2006-02-14")), kFace);  // a Tuesday
    EXPECT_EQ(FaceAt(CellOf("2006-02-12")), kSundayFace);
    EXPECT_EQ(FaceAt(*calendar.NextMonthButton()), kFace);
    calendar.SetGridFontSize(9);
    EXPECT_EQ(calendar.Cell(30)->GetFontDescription().lfHeight, -9);
}

TEST_F(CalendarWindow, ASpecialDayColoursExactlyItsCell) {
    const auto before = Faces(calendar);
    calendar.SetSpecialDayColor(CTime(2006, 3, 15, 12, 0, 0), kGreen);
    EXPECT_EQ(Faces(calendar), before) << "a day outside the grid";
    calendar.SetSpecialDayColor(CTime(2006, 1, 19, 0, 0, 0), kGreen);
    const auto after = Faces(calendar);
    int changed = 0;
    for (const auto& [index, face] : after) changed += face != before.at(index);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(FaceAt(CellOf("2006-01-19")), kGreen);
    ui.Click(*calendar.NextMonthButton());
    ui.Click(*calendar.PreviousMonthButton());
    EXPECT_EQ(FaceAt(CellOf("2006-01-19")), kGrey) << "the month change removes the mark";
}

TEST_F(CalendarWindow, ADisabledGridIsEmbossedAndStopsReportingClicks) {
    calendar.EnableGridSelect(0);
    for (const char* date : {"2006-01-08", "2006-01-10", "2006-02-02"}) {
        CCalButton& cell = CellOf(date);
        EXPECT_EQ(FaceAt(cell), cell.GetDisabledFaceColor()) << date;
        EXPECT_TRUE(HasInk(cell, kEmbossLight)) << date;
        EXPECT_TRUE(HasInk(cell, kEmbossDark)) << date;
    }
    ui.Click(CellOf("2006-01-10"));
    ui.Click(CellOf("2006-02-02"));
    EXPECT_TRUE(calls.order.empty());
    EXPECT_TRUE(calendar.NextMonthButton()->IsWindowEnabled());
    calendar.EnableGridSelect(1);
    ui.Click(CellOf("2006-01-10"));
    EXPECT_EQ(calls.order.size(), 1u);
}

TEST_F(CalendarWindow, LabelFontsAndColours) {
    calendar.SetDayFont(0xFFFFFF, 0x303030, 13, "DejaVu Sans Mono", 0, 1);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(calendar.Header(i)->GetFontColor(), 0xFFFFFFu);
        EXPECT_EQ(calendar.Header(i)->GetFontDescription().lfHeight, -13);
        EXPECT_EQ(calendar.Header(i)->GetFontDescription().lfWeight, FW_NORMAL);
    }
    const CRect header = ui.WindowRectOnDesktop(*calendar.Header(3));
    EXPECT_EQ(backend.PixelAt(header.left + 2, header.top + 2), 0x303030u);
    calendar.SetTilteFont(0x0000FF, 0xFFFFFF, 12, std::string(40, 'x').c_str(), 0, 0);
    EXPECT_EQ(std::string(calendar.Title()->GetFontDescription().lfFaceName), std::string(31, 'x'));
    EXPECT_TRUE(calendar.Title()->GetExStyle() & WS_EX_STATICEDGE);
    CCalWnd uncreated;
    uncreated.SetTilteFont(0, 0, 12, "serif", 0, 0);  // no title yet: nothing happens
    EXPECT_EQ(uncreated.Title(), nullptr);
}

class CalendarBackground : public CalendarWindow {
protected:
    // A 200 x 100 bitmap file written by Pillow whose pixel (x, y) has red x, green y, blue 7.
    CalendarBackground() {
        RunCommand("/usr/bin/python3 -c \"from PIL import Image; im = Image.new('RGB', (200, 100)); "
                   "im.putdata([(x, y, 7) for y in range(100) for x in range(200)]); im.save('" +
                   bmp + "')\"");
    }
    COLORREF ClientPixel(int x, int y) { return backend.PixelAt(kLeft + x, kTop + y); }

    TempDir dir;
    std::string bmp = dir.file("back.bmp");
};

TEST_F(CalendarBackground, ARectangleOfTheFileBecomesTheBackground) {
    calendar.SetBitmap(bmp.c_str(), CRect(0, 0, 99, 49));
    BITMAP info{};
    ASSERT_TRUE(calendar.BackgroundBitmap()->GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 100);
    EXPECT_EQ(info.bmHeight, 50);
    EXPECT_EQ(ClientPixel(3, 4), RGB(3, 4, 7));
    EXPECT_EQ(ClientPixel(99, 30), RGB(99, 30, 7));
    EXPECT_EQ(ClientPixel(150, 10), kGrey) << "beyond the bitmap the background colour shows";
    calendar.SetBitmap(bmp.c_str(), CRect(10, 20, 109, 69));
    EXPECT_EQ(ClientPixel(0, 0), RGB(10, 20, 7));
}

TEST_F(CalendarBackground, AnUnreadableFileLeavesAnEmptyBitmapAndTheColour) {
    for (const std::string& path : {dir.file("missing.bmp"), std::string("/dev/null")}) {
        calendar.SetBitmap(path.c_str(), CRect(0, 0, 99, 49));
        ASSERT_NE(calendar.BackgroundBitmap(), nullptr);
        EXPECT_EQ(calendar.BackgroundBitmap()->GetSafeHandle(), nullptr);
        EXPECT_EQ(ClientPixel(3, 4), kGrey);
    }
    // Rectangles that make no bitmap: inverted, or too large for one.
    for (const CRect& r : {CRect(50, 50, 10, 10), CRect(0, 0, 0x7FFFFFFF, 5), CRect(-0x7FFFFFFF, 0, 0x7FFFFFFF, 5)}) {
        calendar.SetBitmap(bmp.c_str(), r);
        EXPECT_EQ(calendar.BackgroundBitmap()->GetSafeHandle(), nullptr);
    }
}

TEST_F(CalendarBackground, CreationTakesTheBitmapAndColourGoesFirst) {
    CCalWnd second;
    second.SetColor(kGrey, kSundayFace, kSaturdayFace, 0, 0x204060);
    second.CreateEx(0, nullptr, "second", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &host, 101, nullptr,
                    bmp.c_str(), CRect(0, 0, 49, 49));
    EXPECT_EQ(backend.PixelAt(10, 10), RGB(10, 10, 7));
    EXPECT_EQ(backend.PixelAt(60, 10), 0x204060u);
}

}  // namespace
