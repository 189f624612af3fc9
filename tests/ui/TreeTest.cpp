// The tree view: its items under inserts, deletes and expansion; selection by click, key and
// program with its notifications; hit-testing; scrolling; and the pixels of a selection.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/gdi/ColorRef.h"
#include "platform/gdi/StockObjects.h"
#include "platform/ui/CTreeCtrl.h"
#include "platform/ui/ScrollBar.h"

namespace {

constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                             TVS_SHOWSELALWAYS;

std::string Id(HTREEITEM item) { return std::to_string(reinterpret_cast<std::uintptr_t>(item)); }

class TreeTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(tree.Create(kTreeStyle, CRect(10, 10, 210, 210), &frame, 1001));
    }
    void TearDown() override {
        tree.DestroyWindow();
        UiTest::TearDown();
    }
    std::vector<std::string> Notices() {
        std::vector<std::string> out;
        for (const auto& line : frame.log) {
            if (line.rfind("chang", 0) == 0) out.push_back(line);
        }
        frame.log.clear();
        return out;
    }
    static std::string Change(const char* what, UINT action, HTREEITEM from, HTREEITEM to) {
        return std::string(what) + " 1001 action " + std::to_string(action) + " old " + Id(from) + " new " + Id(to);
    }

    CTreeCtrl tree;
};

TEST_F(TreeTest, ItemsKeepTheirOrderFamilyAndFields) {
    const HTREEITEM a = tree.InsertItem("a", 1, 2);
    const HTREEITEM b = tree.InsertItem("b");
    const HTREEITEM a1 = tree.InsertItem("a1", a);
    const HTREEITEM a2 = tree.InsertItem("a2", a);
    EXPECT_EQ(tree.GetRootItem(), a);
    EXPECT_EQ(tree.GetNextSiblingItem(a), b);
    EXPECT_EQ(tree.GetNextSiblingItem(b), nullptr);
    EXPECT_EQ(tree.GetChildItem(a), a1);
    EXPECT_EQ(tree.GetChildItem(TVI_ROOT), a);
    EXPECT_EQ(tree.GetNextSiblingItem(a1), a2);
    EXPECT_EQ(tree.GetParentItem(a2), a);
    EXPECT_EQ(tree.GetParentItem(a), nullptr);
    EXPECT_EQ(tree.GetCount(), 4u);
    int image = 0;
    int selected = 0;
    ASSERT_TRUE(tree.GetItemImage(a, image, selected));
    EXPECT_EQ(image, 1);
    EXPECT_EQ(selected, 2);
    EXPECT_TRUE(tree.SetItemData(a2, 86400));
    EXPECT_EQ(tree.GetItemData(a2), 86400u);
    EXPECT_TRUE(tree.SetItemText(a1, "renamed (2)"));
    EXPECT_STREQ(tree.GetItemText(a1).c_str(), "renamed (2)");
    const std::string longText(1000, 'x');
    tree.SetItemText(b, longText.c_str());
    EXPECT_EQ(tree.GetItemText(b).GetLength(), 1000);
}

TEST_F(TreeTest, DeletedItemsAndTheirBranchesAreGoneAndTheirHandlesStayStale) {
    const HTREEITEM a = tree.InsertItem("a");
    const HTREEITEM a1 = tree.InsertItem("a1", a);
    const HTREEITEM b = tree.InsertItem("b");
    EXPECT_TRUE(tree.DeleteItem(a));
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_EQ(tree.GetRootItem(), b);
    EXPECT_FALSE(tree.DeleteItem(a1));
    EXPECT_STREQ(tree.GetItemText(a1).c_str(), "");
    EXPECT_EQ(tree.GetParentItem(a1), nullptr);
    EXPECT_FALSE(tree.DeleteItem(nullptr));
    // A new item never takes an old handle.
    const HTREEITEM c = tree.InsertItem("c");
    EXPECT_NE(c, a);
    EXPECT_NE(c, a1);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

TEST_F(TreeTest, ExpansionDecidesWhichItemsAreShown) {
    const HTREEITEM a = tree.InsertItem("a");
    const HTREEITEM a1 = tree.InsertItem("a1", a);
    const HTREEITEM b = tree.InsertItem("b");
    EXPECT_FALSE(tree.Expand(b, TVE_EXPAND));  // no children: nothing opens
    EXPECT_EQ(tree.GetNextVisibleItem(a), b);
    EXPECT_TRUE(tree.Expand(a, TVE_EXPAND));
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(tree.GetNextVisibleItem(a), a1);
    EXPECT_EQ(tree.GetNextVisibleItem(a1), b);
    EXPECT_EQ(tree.GetPrevVisibleItem(b), a1);
    EXPECT_TRUE(tree.Expand(a, TVE_COLLAPSE));
    EXPECT_EQ(tree.GetNextVisibleItem(a), b);
    EXPECT_EQ(tree.GetNextVisibleItem(a1), nullptr);  // hidden items have no visible neighbours
    // The last child going closes its parent.
    tree.Expand(a, TVE_EXPAND);
    tree.DeleteItem(a1);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
}

TEST_F(TreeTest, ClickSelectsWithMouseNotificationsInOrder) {
    const HTREEITEM a = tree.InsertItem("month");
    const HTREEITEM b = tree.InsertItem("other");
    frame.log.clear();
    ui.ClickItem(tree, a);
    EXPECT_EQ(tree.GetSelectedItem(), a);
    EXPECT_EQ(CWnd::GetFocus(), &tree);
    ui.ClickItem(tree, b);
    EXPECT_EQ(Notices(), (std::vector<std::string>{Change("changing", TVC_BYMOUSE, nullptr, a),
                                                   Change("changed", TVC_BYMOUSE, nullptr, a),
                                                   Change("changing", TVC_BYMOUSE, a, b),
                                                   Change("changed", TVC_BYMOUSE, a, b)}));
    ui.ClickItem(tree, b);  // the selected item again: nothing is sent
    EXPECT_TRUE(Notices().empty());
    // A click right of a label selects nothing.
    CRect row;
    tree.GetItemRect(a, &row, FALSE);
    backend.ClickClient(tree, CPoint(row.right - 2, row.top + 2));
    EXPECT_EQ(tree.GetSelectedItem(), b);
}

TEST_F(TreeTest, ClickOnTheButtonTogglesWithoutSelecting) {
    const HTREEITEM a = tree.InsertItem("a");
    tree.InsertItem("a1", a);
    const HTREEITEM b = tree.InsertItem("b");
    CRect label;
    tree.GetItemRect(a, &label, TRUE);
    UINT flags = 0;
    const CPoint button(tree.GetIndent() / 2, label.CenterPoint().y);
    EXPECT_EQ(tree.HitTest(button, &flags), a);
    EXPECT_EQ(flags, TVHT_ONITEMBUTTON);
    backend.ClickClient(tree, button);
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_TRUE(Notices().empty());
    // The hit-test names the parts of a row and the empty space below the rows.
    tree.GetItemRect(b, &label, TRUE);
    EXPECT_EQ(tree.HitTest(label.CenterPoint(), &flags), b);
    EXPECT_EQ(flags, TVHT_ONITEMLABEL);
    EXPECT_EQ(tree.HitTest(CPoint(5, label.bottom + 40), &flags), nullptr);
    EXPECT_TRUE(flags & TVHT_NOWHERE);
}

TEST_F(TreeTest, KeyboardNavigatesExpandsAndCollapses) {
    const HTREEITEM a = tree.InsertItem("a");
    const HTREEITEM a1 = tree.InsertItem("a1", a);
    const HTREEITEM b = tree.InsertItem("b");
    ui.ClickItem(tree, a);
    frame.log.clear();
    ui.Press({VK_DOWN});
    EXPECT_EQ(tree.GetSelectedItem(), b);  // a is closed: a1 is not shown
    ui.Press({VK_UP, VK_RIGHT});  // back to a, and open it
    EXPECT_EQ(tree.GetSelectedItem(), a);
    ui.Press({VK_RIGHT});  // goes to the first child
    EXPECT_EQ(tree.GetSelectedItem(), a1);
    ui.Press({VK_LEFT});  // to the parent
    EXPECT_EQ(tree.GetSelectedItem(), a);
    ui.Press({VK_LEFT});  // closes it
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), 0u);
    ui.Press({VK_END});
    EXPECT_EQ(tree.GetSelectedItem(), b);
    const auto notices = Notices();
    ASSERT_EQ(notices.size(), 10u);
    EXPECT_EQ(notices[1], Change("changed", TVC_BYKEYBOARD, a, b));
    EXPECT_EQ(notices[5], Change("changed", TVC_BYKEYBOARD, a, a1));
}

TEST_F(TreeTest, ProgramSelectionNotifiesOpensParentsAndCanBeRefused) {
    const HTREEITEM a = tree.InsertItem("a");
    const HTREEITEM a1 = tree.InsertItem("a1", a);
    EXPECT_TRUE(tree.SelectItem(a1));
    EXPECT_EQ(tree.GetItemState(a, TVIS_EXPANDED), TVIS_EXPANDED);
    EXPECT_EQ(Notices(), (std::vector<std::string>{Change("changing", TVC_UNKNOWN, nullptr, a1),
                                                   Change("changed", TVC_UNKNOWN, nullptr, a1)}));
    frame.vetoSelection = TRUE;
    EXPECT_FALSE(tree.SelectItem(a));
    EXPECT_EQ(tree.GetSelectedItem(), a1);
    EXPECT_EQ(Notices(), (std::vector<std::string>{Change("changing", TVC_UNKNOWN, a1, a)}));
}

TEST_F(TreeTest, DeletingTheSelectedItemLeavesNoSelectionAndSendsNothing) {
    const HTREEITEM month = tree.InsertItem("2005-04");
    const HTREEITEM day1 = tree.InsertItem("01", month);
    const HTREEITEM day2 = tree.InsertItem("02", month);
    tree.SelectItem(day1);
    frame.log.clear();
    EXPECT_TRUE(tree.DeleteItem(day1));
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_TRUE(Notices().empty());  // no browser loads a day the user did not choose
    ui.ClickItem(tree, day2);        // and the neighbour is still a real choice
    EXPECT_EQ(Notices(), (std::vector<std::string>{Change("changing", TVC_BYMOUSE, nullptr, day2),
                                                   Change("changed", TVC_BYMOUSE, nullptr, day2)}));
    // A deleted branch holding the selection, and deleting everything, behave the same.
    tree.DeleteItem(month);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    const HTREEITEM x = tree.InsertItem("x");
    tree.SelectItem(x);
    frame.log.clear();
    tree.DeleteAllItems();
    EXPECT_EQ(tree.GetSelectedItem(), nullptr);
    EXPECT_TRUE(Notices().empty());
}

TEST_F(TreeTest, ScrollBarWheelAndKeysScrollLongTrees) {
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 100; ++i) items.push_back(tree.InsertItem(("item " + std::to_string(i)).c_str()));
    EXPECT_TRUE(tree.GetStyle() & WS_VSCROLL);
    const int page = static_cast<int>(tree.GetVisibleCount());
    EXPECT_GT(page, 5);
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[0]);

    CRect box = ui.ClientRectOnDesktop(tree);
    backend.Wheel(box.CenterPoint(), -WHEEL_DELTA);  // one notch down: three rows
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[3]);
    EXPECT_EQ(tree.GetScrollPos(SB_VERT), 3);

    const CRect window = ui.WindowRectOnDesktop(tree);
    backend.Click(CPoint(window.right - 5, window.bottom - 5));  // the down arrow
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[4]);
    backend.Click(CPoint(window.right - 5, window.bottom - 25));  // the track below the thumb
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[4 + page]);

    // Dragging the thumb to the bottom shows the last page.
    CRect bar = tree.ScrollBarRect();
    bar.OffsetRect(window.TopLeft());
    SCROLLINFO info;
    tree.GetScrollInfo(SB_VERT, &info);
    const CRect thumb = LayOutScrollBar(bar, info).thumb;
    EXPECT_EQ(backend.PixelAt(thumb.left + 8, thumb.top + 3), GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(backend.PixelAt(thumb.left + 8, thumb.bottom + 1), GetSysColor(COLOR_BTNFACE));
    backend.MouseDown(CPoint(bar.left + 8, thumb.top + 2));
    backend.MouseMove(CPoint(bar.left + 8, bar.bottom + 50));
    backend.MouseUp(CPoint(bar.left + 8, bar.bottom + 50));
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[100 - page]);

    // Keys scroll the selection into view.
    ui.ClickItem(tree, items[100 - page]);
    ui.Press({VK_HOME});
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[0]);
    ui.Press({VK_NEXT});
    EXPECT_EQ(tree.GetSelectedItem(), items[page - 1]);
    ui.Press({VK_DOWN});
    EXPECT_EQ(tree.GetFirstVisibleItem(), items[1]);

    // Short again: the scroll bar goes.
    while (tree.GetCount() > 3) tree.DeleteItem(tree.GetRootItem());
    EXPECT_FALSE(tree.GetStyle() & WS_VSCROLL);
    EXPECT_EQ(tree.GetFirstVisibleItem(), tree.GetRootItem());
}

TEST_F(TreeTest, SelectionIsHighlightedWithFocusAndGreyedWithoutIt) {
    const HTREEITEM a = tree.InsertItem("selected");
    CRect label;
    tree.GetItemRect(a, &label, TRUE);
    const CRect box = ui.ClientRectOnDesktop(tree);
    const CPoint inside(box.left + label.left + 1, box.top + label.top + 1);
    EXPECT_EQ(backend.PixelAt(inside.x, inside.y), GetSysColor(COLOR_WINDOW));
    ui.ClickItem(tree, a);
    EXPECT_EQ(backend.PixelAt(inside.x + 1, inside.y + 1), GetSysColor(COLOR_HIGHLIGHT));
    // White text on the highlight.
    const CRect ink = InkBox(CRect(box.left + label.left + 2, box.top + label.top + 1, box.left + label.right - 2,
                                   box.top + label.bottom - 1),
                             GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_FALSE(ink.IsRectEmpty());
    frame.SetFocus();  // focus elsewhere: show-selection-always keeps a grey mark
    EXPECT_EQ(backend.PixelAt(inside.x + 1, inside.y + 1), GetSysColor(COLOR_BTNFACE));
    tree.ModifyStyle(TVS_SHOWSELALWAYS, 0);
    EXPECT_EQ(backend.PixelAt(inside.x + 1, inside.y + 1), GetSysColor(COLOR_WINDOW));
}

TEST_F(TreeTest, ButtonsShowPlusWhenClosedAndMinusWhenOpen) {
    const HTREEITEM a = tree.InsertItem("a");
    tree.InsertItem("a1", a);
    CRect label;
    tree.GetItemRect(a, &label, TRUE);
    const CRect box = ui.ClientRectOnDesktop(tree);
    const int cx = box.left + static_cast<int>(tree.GetIndent()) / 2;
    const int cy = box.top + label.top + tree.GetItemHeight() / 2;
    EXPECT_EQ(backend.PixelAt(cx, cy), GetSysColor(COLOR_WINDOWTEXT));       // the bar of the minus
    EXPECT_EQ(backend.PixelAt(cx, cy - 2), GetSysColor(COLOR_WINDOWTEXT));   // the stroke of the plus
    EXPECT_EQ(backend.PixelAt(cx - 4, cy - 4), GetSysColor(COLOR_GRAYTEXT)); // the box
    tree.Expand(a, TVE_EXPAND);
    EXPECT_EQ(backend.PixelAt(cx, cy - 2), GetSysColor(COLOR_WINDOW));
}

}  // namespace
