// The edit control and the static label: text with CR LF lines, scrolling, typing,
// read-only refusal, colours, alignment and borders.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/gdi/ColorRef.h"
#include "platform/gdi/StockObjects.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CStatic.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPaneStyle = kChild | WS_VSCROLL | ES_READONLY | ES_MULTILINE;  // the browsers' text pane

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

using ControlsTest = UiTest;

TEST_F(ControlsTest, PaneBreaksAtCrLfAndScrollsWithBarWheelAndKeys) {
    CEdit pane;
    ASSERT_TRUE(pane.CreateEx(WS_EX_STATICEDGE, "Edit", nullptr, kPaneStyle, CRect(5, 100, 395, 195), &frame, 1003));
    pane.SetWindowText(Lines(40).c_str());
    EXPECT_EQ(pane.GetLineCount(), 41);  // the text ends with a line break: an empty last line
    EXPECT_STREQ(pane.GetWindowTextString().c_str(), Lines(40).c_str());
    int minPos = 0;
    int maxPos = 0;
    pane.GetScrollRange(SB_VERT, &minPos, &maxPos);
    EXPECT_EQ(maxPos, 40);
    const CRect box = ui.ClientRectOnDesktop(pane);
    backend.Wheel(box.CenterPoint(), -WHEEL_DELTA);
    EXPECT_EQ(pane.GetFirstVisibleLine(), 3);
    EXPECT_EQ(pane.GetScrollPos(SB_VERT), 3);
    backend.Click(CPoint(box.right + 8, box.bottom - 4));  // the scroll bar's down arrow
    EXPECT_EQ(pane.GetFirstVisibleLine(), 4);
    backend.ClickClient(pane, CPoint(5, 5));  // keys go to the focus, which a click gives
    backend.Key(VK_END);
    const int last = pane.GetFirstVisibleLine();
    EXPECT_GT(last, 30);
    backend.Wheel(box.CenterPoint(), -10 * WHEEL_DELTA);  // not beyond the last page
    EXPECT_EQ(pane.GetFirstVisibleLine(), last);
    // Setting new text starts from the top again; a lone line feed does not break a line.
    pane.SetWindowText("one\ntwo");
    EXPECT_EQ(pane.GetLineCount(), 1);
    EXPECT_EQ(pane.GetFirstVisibleLine(), 0);
}

TEST_F(ControlsTest, PaneWrapsLongLinesAtWordsToItsWidth) {
    CEdit pane;
    ASSERT_TRUE(pane.CreateEx(0, "Edit", nullptr, kPaneStyle, CRect(5, 5, 105, 195), &frame, 1));
    pane.SetWindowText("alpha beta gamma delta epsilon zeta eta theta\r\nshort");
    const int rows = pane.GetLineCount();
    EXPECT_GT(rows, 3);
    // Wider, fewer rows.
    pane.MoveWindow(5, 5, 380, 190);
    EXPECT_EQ(pane.GetLineCount(), 2);
    EXPECT_LT(2, rows);
}

TEST_F(ControlsTest, ReadOnlyPaneRefusesTypingAndAsksForStaticColours) {
    CEdit pane;
    ASSERT_TRUE(pane.CreateEx(0, "Edit", "fixed", kPaneStyle, CRect(5, 5, 205, 105), &frame, 1));
    backend.ClickClient(pane, CPoint(5, 5));
    EXPECT_EQ(CWnd::GetFocus(), &pane);
    backend.Type("xyz");
    backend.Key(VK_DELETE);
    EXPECT_STREQ(pane.GetWindowTextString().c_str(), "fixed");
    // Unanswered, the static colour request gives the button face.
    EXPECT_EQ(backend.PixelAt(100, 90), GetSysColor(COLOR_BTNFACE));
    pane.SetReadOnly(FALSE);
    EXPECT_EQ(backend.PixelAt(100, 90), GetSysColor(COLOR_WINDOW));
}

TEST_F(ControlsTest, FieldTakesTypedTextAtItsCaret) {
    CEdit field;
    ASSERT_TRUE(field.Create(kChild | WS_BORDER, CRect(5, 5, 205, 25), &frame, 1));
    backend.ClickClient(field, CPoint(2, 5));
    backend.Type("report.tx");
    backend.Type("t");
    EXPECT_STREQ(field.GetWindowTextString().c_str(), "report.txt");
    backend.Key(VK_HOME);
    backend.Key(VK_DELETE);
    backend.Type("R");
    backend.Key(VK_END);
    backend.Type("\b\bxt2");
    EXPECT_STREQ(field.GetWindowTextString().c_str(), "Report.txt2");
    // A long text scrolls so that the caret stays in view: the last characters are drawn.
    field.SetWindowText("");
    backend.Type(std::string(60, 'w') + "|");
    const CRect box = ui.ClientRectOnDesktop(field);
    EXPECT_FALSE(InkBox(CRect(box.right - 30, box.top, box.right, box.bottom), GetSysColor(COLOR_WINDOW)).IsRectEmpty());
}

TEST_F(ControlsTest, LabelCentresTextBothWaysAndDrawsItsBorder) {
    CStatic label;
    ASSERT_TRUE(label.Create("May 2005", kChild | SS_CENTER | SS_CENTERIMAGE | WS_BORDER, CRect(10, 10, 210, 70), &frame, 1));
    const CRect box = ui.ClientRectOnDesktop(label);
    const CRect ink = InkBox(box, GetSysColor(COLOR_BTNFACE));
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_LE(std::abs((ink.left - box.left) - (box.right - ink.right)), 2);
    EXPECT_LE(std::abs((ink.top - box.top) - (box.bottom - ink.bottom)), 3);
    EXPECT_EQ(backend.PixelAt(10, 40), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(backend.PixelAt(209, 40), GetSysColor(COLOR_WINDOWFRAME));

    // Left-aligned, top-aligned; the sunken style adds the static edge.
    CStatic plain;
    ASSERT_TRUE(plain.Create("x", kChild | SS_SUNKEN, CRect(10, 100, 210, 160), &frame, 2));
    EXPECT_TRUE(plain.GetExStyle() & WS_EX_STATICEDGE);
    const CRect plainBox = ui.ClientRectOnDesktop(plain);
    const CRect plainInk = InkBox(plainBox, GetSysColor(COLOR_BTNFACE));
    EXPECT_LT(plainInk.left - plainBox.left, 5);
    EXPECT_LT(plainInk.top - plainBox.top, 8);
    EXPECT_EQ(backend.PixelAt(10, 100), GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace
