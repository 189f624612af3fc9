// Windows: creation, destruction, message maps and their chaining, reflection, focus,
// capture, geometry and the paint pass.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/gdi/ColorRef.h"
#include "platform/gdi/StockObjects.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CPaintDC.h"
#include "platform/ui/CStatic.h"

namespace {

// A child that logs its life and its paint messages into a shared log.
class Probe : public CWnd {
public:
    explicit Probe(std::vector<std::string>& log, std::string name, int createAnswer = 0)
        : m_log(log), m_name(std::move(name)), m_createAnswer(createAnswer) {}
    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {
            msgmap::OnCreate<&Probe::OnCreate>(),
            msgmap::OnDestroy<&Probe::OnDestroy>(),
            msgmap::OnEraseBkgnd<&Probe::OnEraseBkgnd>(),
            msgmap::OnPaint<&Probe::OnPaint>(),
            msgmap::OnMessage<&Probe::OnNcDestroy>(WM_NCDESTROY),
        };
        static const MessageMap map{CWnd::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs) {
        m_log.push_back(m_name + " create");
        return CWnd::OnCreate(cs) == -1 ? -1 : m_createAnswer;
    }
    void OnDestroy() { m_log.push_back(m_name + " destroy"); }
    LRESULT OnNcDestroy(WPARAM, LPARAM) {
        m_log.push_back(m_name + " ncdestroy");
        return 0;
    }
    BOOL OnEraseBkgnd(CDC* dc) {
        m_log.push_back(m_name + " erase");
        return CWnd::OnEraseBkgnd(dc);
    }
    void OnPaint() {
        CPaintDC dc(this);
        m_log.push_back(m_name + " paint");
    }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
    int m_createAnswer;
};

// A derived probe whose own table takes WM_PAINT and leaves the rest to its base's table.
class LoudProbe : public Probe {
public:
    using Probe::Probe;
    int paints = 0;
    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {msgmap::OnPaint<&LoudProbe::OnPaint>()};
        static const MessageMap map{Probe::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++paints;
    }
};

// An owner-drawn button that paints itself when its parent hands the request back.
class RedButton : public CButton {
public:
    int draws = 0;
    UINT lastState = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        ++draws;
        lastState = item->itemState;
        item->hDC->FillSolidRect(item->rcItem, RGB(255, 0, 0));
    }
};

// A label that answers its own colour request with a blue background.
class BlueLabel : public CStatic {
public:
    CBrush brush{RGB(0, 0, 255)};
    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {msgmap::OnCtlColorReflect<&BlueLabel::CtlColor>()};
        static const MessageMap map{CStatic::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    HBRUSH CtlColor(CDC* dc, UINT kind) {
        EXPECT_EQ(kind, CTLCOLOR_STATIC);
        dc->SetTextColor(RGB(255, 255, 0));
        dc->SetBkMode(TRANSPARENT);
        return brush;
    }
};

// A parent that draws its owner-drawn buttons green itself.
class GreenParent : public CWnd {
public:
    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {msgmap::OnDrawItem<&GreenParent::OnDrawItem>()};
        static const MessageMap map{CWnd::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    void OnDrawItem(int, LPDRAWITEMSTRUCT item) { item->hDC->FillSolidRect(item->rcItem, RGB(0, 255, 0)); }
};

// A window that logs the client sizes WM_SIZE gives it.
class SizeProbe : public CWnd {
public:
    std::vector<std::string> sizes;
    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {msgmap::OnMessage<&SizeProbe::OnSize>(WM_SIZE)};
        static const MessageMap map{CWnd::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    LRESULT OnSize(WPARAM, LPARAM size) {
        sizes.push_back(std::to_string(LOWORD(size)) + "x" + std::to_string(HIWORD(size)));
        return 0;
    }
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

using WindowTest = UiTest;

TEST_F(WindowTest, CreationFailsForUnknownClassOrphanChildOrRefusedCreate) {
    std::vector<std::string> log;
    Probe a(log, "a");
    EXPECT_FALSE(a.CreateEx(0, "NoSuchClass", "", kChild, CRect(0, 0, 10, 10), &frame, 1));
    EXPECT_FALSE(a.CreateEx(0, "Edit", "", kChild, CRect(0, 0, 10, 10), nullptr, 1));
    EXPECT_TRUE(log.empty());

    Probe refusing(log, "r", -1);
    EXPECT_FALSE(refusing.CreateEx(0, nullptr, "", kChild, CRect(0, 0, 10, 10), &frame, 2));
    EXPECT_FALSE(IsWindow(refusing.GetSafeHwnd()));
    EXPECT_EQ(frame.GetDlgItem(2), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"r create", "r destroy", "r ncdestroy"}));
}

TEST_F(WindowTest, DestroyingAParentDestroysChildrenParentsFirstThenNcDestroyChildrenFirst) {
    std::vector<std::string> log;
    Probe parent(log, "p");
    Probe child(log, "c");
    Probe grandchild(log, "g");
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", kChild, CRect(0, 0, 100, 100), &frame, 1));
    ASSERT_TRUE(child.CreateEx(0, nullptr, "", kChild, CRect(0, 0, 50, 50), &parent, 2));
    ASSERT_TRUE(grandchild.CreateEx(0, nullptr, "", kChild, CRect(0, 0, 20, 20), &child, 3));
    log.clear();
    parent.SendMessage(WM_CLOSE);  // default close handling destroys
    EXPECT_EQ(log, (std::vector<std::string>{"p destroy", "c destroy", "g destroy", "g ncdestroy", "c ncdestroy",
                                             "p ncdestroy"}));
    EXPECT_FALSE(IsWindow(&child));
    EXPECT_EQ(grandchild.GetSafeHwnd(), nullptr);
    EXPECT_EQ(frame.GetDlgItem(1), nullptr);
}

TEST_F(WindowTest, DerivedTableRunsFirstAndUnhandledMessagesReachTheBaseTableAndDefault) {
    std::vector<std::string> log;
    LoudProbe probe(log, "l");
    ASSERT_TRUE(probe.CreateEx(0, nullptr, "first", kChild, CRect(10, 10, 60, 60), &frame, 5));
    EXPECT_EQ(log, (std::vector<std::string>{"l create"}));  // from the base table
    backend.Render();
    EXPECT_EQ(probe.paints, 1);  // the derived table's paint, not the base's
    EXPECT_EQ(std::count(log.begin(), log.end(), "l paint"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "l erase"), 1);
    probe.SetWindowText("second");  // nobody's table: the default stores it
    EXPECT_STREQ(probe.GetWindowTextString().c_str(), "second");
    char small[4];
    EXPECT_EQ(probe.GetWindowText(small, sizeof small), 3);
    EXPECT_STREQ(small, "sec");
}

TEST_F(WindowTest, InvalidationWithoutEraseSkipsTheBackgroundAndValidWindowsAreNotRepainted) {
    std::vector<std::string> log;
    Probe probe(log, "p");
    ASSERT_TRUE(probe.CreateEx(0, nullptr, "", kChild, CRect(0, 0, 50, 50), &frame, 1));
    backend.Render();
    log.clear();
    backend.Render();
    EXPECT_TRUE(log.empty());
    probe.Invalidate(FALSE);
    probe.UpdateWindow();
    EXPECT_EQ(log, (std::vector<std::string>{"p paint"}));
    log.clear();
    probe.Invalidate(TRUE);
    backend.Render();
    EXPECT_EQ(log, (std::vector<std::string>{"p erase", "p paint"}));
    // A repainted parent paints over its children, which are then painted again.
    log.clear();
    frame.Invalidate(TRUE);
    backend.Render();
    EXPECT_EQ(log, (std::vector<std::string>{"p erase", "p paint"}));
}

TEST_F(WindowTest, ClientAreaLeavesOutBorderEdgesAndScrollBar) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_CLIENTEDGE, nullptr, "", kChild | WS_BORDER | WS_VSCROLL, CRect(20, 30, 120, 90),
                             &frame, 1));
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 100 - 6 - 16, 60 - 6));
    CRect window;
    wnd.GetWindowRect(&window);
    EXPECT_EQ(window, CRect(20, 30, 120, 90));
    CPoint origin;
    wnd.ClientToScreen(&origin);
    EXPECT_EQ(origin, CPoint(23, 33));
    // The border is drawn in the frame colour, the scroll bar at the right edge.
    EXPECT_EQ(backend.PixelAt(20, 60), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(backend.PixelAt(23 + 94 - 16 + 8, 33 + 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(WindowTest, CommandRangeReachesTheParentWithTheClickedControlsId) {
    CButton inRange;
    CButton outside;
    ASSERT_TRUE(inRange.Create("in", kChild, CRect(10, 10, 60, 40), &frame, 8042));
    ASSERT_TRUE(outside.Create("out", kChild, CRect(70, 10, 120, 40), &frame, 9000));
    backend.Click(CPoint(30, 20));
    backend.Click(CPoint(90, 20));
    EXPECT_EQ(frame.log.back(), "clicked 8042");
    EXPECT_EQ(std::count(frame.log.begin(), frame.log.end(), "clicked 8042"), 1);
    EXPECT_EQ(std::count(frame.log.begin(), frame.log.end(), "clicked 9000"), 0);
}

TEST_F(WindowTest, OwnerDrawIsReflectedToTheButtonUnlessTheParentDrawsIt) {
    RedButton red;
    ASSERT_TRUE(red.Create("", kChild | BS_OWNERDRAW, CRect(10, 10, 50, 30), &frame, 1));
    GreenParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", kChild, CRect(100, 0, 200, 100), &frame, 2));
    RedButton drawnByParent;
    ASSERT_TRUE(drawnByParent.Create("", kChild | BS_OWNERDRAW, CRect(10, 10, 50, 30), &parent, 3));
    EXPECT_EQ(backend.PixelAt(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(backend.PixelAt(49, 29), RGB(255, 0, 0));
    EXPECT_NE(backend.PixelAt(50, 30), RGB(255, 0, 0));
    EXPECT_EQ(backend.PixelAt(120, 20), RGB(0, 255, 0));
    EXPECT_EQ(drawnByParent.draws, 0);
    // Pressed while held down over it: the owner draw sees the selected state.
    backend.MouseDown(CPoint(20, 20));
    backend.Render();
    EXPECT_TRUE(red.lastState & ODS_SELECTED);
    EXPECT_TRUE(red.lastState & ODS_FOCUS);
    backend.MouseUp(CPoint(20, 20));
    backend.Render();
    EXPECT_FALSE(red.lastState & ODS_SELECTED);
}

TEST_F(WindowTest, ControlColourIsReflectedToTheLabel) {
    BlueLabel label;
    ASSERT_TRUE(label.Create("Hi", kChild | SS_CENTER, CRect(10, 10, 110, 40), &frame, 1));
    EXPECT_EQ(backend.PixelAt(12, 12), RGB(0, 0, 255));
    const CRect ink = InkBox(ui.ClientRectOnDesktop(label), RGB(0, 0, 255));
    ASSERT_FALSE(ink.IsRectEmpty());
    // Antialiased yellow on blue: the strongest ink pixel is nearly full red and green.
    int strongest = 0;
    for (int y = ink.top; y < ink.bottom; ++y) {
        for (int x = ink.left; x < ink.right; ++x) strongest = std::max<int>(strongest, backend.PixelAt(x, y) & 0xFF);
    }
    EXPECT_GT(strongest, 0xC0);
    // Centred: as much room on the left of the text as on its right.
    const CRect client = ui.ClientRectOnDesktop(label);
    EXPECT_LE(std::abs((ink.left - client.left) - (client.right - ink.right)), 2);
}

TEST_F(WindowTest, PressAndReleaseOutsideTheButtonIsNoClickAndCaptureFollowsThePress) {
    CButton button;
    ASSERT_TRUE(button.Create("b", kChild, CRect(10, 10, 60, 40), &frame, 8000));
    backend.MouseDown(CPoint(20, 20));
    EXPECT_EQ(CWnd::GetCapture(), &button);
    EXPECT_TRUE(button.GetState() & BST_PUSHED);
    backend.MouseMove(CPoint(200, 200));
    EXPECT_FALSE(button.GetState() & BST_PUSHED);
    backend.MouseUp(CPoint(200, 200));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(std::count(frame.log.begin(), frame.log.end(), "clicked 8000"), 0);
    // Space on the focused button clicks it.
    backend.Key(VK_SPACE);
    EXPECT_EQ(frame.log.back(), "clicked 8000");
}

TEST_F(WindowTest, FocusMovesWithClicksAndLeavesDisabledOrHiddenWindows) {
    CEdit first;
    CEdit second;
    ASSERT_TRUE(first.Create(kChild | WS_BORDER, CRect(10, 10, 110, 30), &frame, 1));
    ASSERT_TRUE(second.Create(kChild | WS_BORDER, CRect(10, 40, 110, 60), &frame, 2));
    backend.Click(CPoint(20, 20));
    EXPECT_EQ(CWnd::GetFocus(), &first);
    backend.Click(CPoint(20, 50));
    EXPECT_EQ(CWnd::GetFocus(), &second);
    second.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
    backend.Click(CPoint(20, 50));  // a disabled window takes no clicks
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
    first.SetFocus();
    first.ShowWindow(SW_HIDE);
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
    EXPECT_FALSE(first.IsWindowVisible());
    first.DestroyWindow();
    EXPECT_EQ(CWnd::GetFocus(), nullptr);
}

// The window that fills the desktop is the one a display's window shows: when the person
// resizes that, it is resized with the desktop and hears its new client size; other windows
// stay as they are.
TEST_F(WindowTest, AWindowFillingTheDesktopFollowsItsResize) {
    SizeProbe full, small;
    ASSERT_TRUE(full.CreateEx(0, nullptr, "full", WS_VISIBLE | WS_BORDER, CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(small.CreateEx(0, nullptr, "small", WS_VISIBLE, CRect(10, 10, 110, 60), nullptr, 0));
    backend.Resize(640, 480);
    EXPECT_EQ(full.GetRectInParent(), CRect(0, 0, 640, 480));
    EXPECT_EQ(full.sizes, std::vector<std::string>{"638x478"}) << "the client area, inside the border";
    EXPECT_EQ(small.GetRectInParent(), CRect(10, 10, 110, 60));
    EXPECT_TRUE(small.sizes.empty());
    EXPECT_EQ(frame.GetRectInParent(), CRect(0, 0, 640, 480));
    backend.Resize(400, 300);
}

}  // namespace
