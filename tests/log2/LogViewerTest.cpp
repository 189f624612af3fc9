// The log browser window, driven headless through clicks on its trees, checked by what a person
// would read: tree items, group labels, the text pane.
#include <gtest/gtest.h>

#include "log2/CLogManager2.h"
#include "log2/CLogViewer2.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/FileSystem.h"
#include "platform/ui/CFileDialog.h"
#include "tests/support/TempDir.h"

namespace {

constexpr DWORD N = LOG_VALUE_NONE;

std::vector<std::string> Children(CTreeCtrl& tree, HTREEITEM parent) {
    std::vector<std::string> texts;
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
        texts.push_back(tree.GetItemText(item).str());
    return texts;
}

HTREEITEM FindChild(CTreeCtrl& tree, HTREEITEM parent, const std::string& text) {
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
        if (tree.GetItemText(item).str() == text) return item;
    return nullptr;
}

class LogViewer : public testing::Test {
protected:
    LogViewer() : tz("Europe/Berlin"), clock(0) {}

    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        ASSERT_TRUE(viewer.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 400), &host, 100));
    }

    // A log of `type` starting at the local time given, with `records` records of key (3, 2, 3).
    void WriteLog(BYTE type, int month, int day, int hour, int records = 1) {
        CLogManager2 writer;
        writer.Init(dir.path().c_str());
        clock.Set(CTime(2005, month, day, hour, 0, 0).GetTime());
        const DWORD h = writer.CreateLog("log", type);
        for (int i = 0; i < records; ++i) writer.AddLogRecord2(h, 2, 3, 1, static_cast<DWORD>(i), N, N, N, nullptr, nullptr);
        clock.Set(CTime(2005, month, day, hour, 0, 30).GetTime());
        ASSERT_EQ(writer.UpdateLog(h, 1), 1);
    }

    void ClickItem(CTreeCtrl& tree, HTREEITEM item) {
        ASSERT_NE(item, nullptr);
        RECT label{};
        ASSERT_TRUE(tree.GetItemRect(item, &label, TRUE)) << "the item is not shown";
        backend.ClickClient(tree, CRect(label).CenterPoint());
    }

    HTREEITEM Month(const char* label) { return FindChild(viewer.MonthTree(), TVI_ROOT, label); }
    std::vector<std::string> TypeGroups() { return Children(viewer.TypeTree(), TVI_ROOT); }

    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
    HeadlessBackend backend{800, 600};
    CWnd host;
    CLogViewer2 viewer;
};

}  // namespace

TEST_F(LogViewer, ControlsFollowTheWindowSize) {
    EXPECT_EQ(viewer.MonthTree().GetRectInParent(), CRect(5, 5, 200, 250));
    EXPECT_EQ(viewer.TypeTree().GetRectInParent(), CRect(199, 5, 495, 250));
    EXPECT_EQ(viewer.MessagePane().GetRectInParent(), CRect(5, 250, 495, 395));
    EXPECT_EQ(viewer.MonthTree().GetStyle(), CLogViewer2::kMonthTreeStyle);
    EXPECT_EQ(viewer.TypeTree().GetStyle(), CLogViewer2::kTypeTreeStyle);
    EXPECT_EQ(viewer.MessagePane().GetStyle(), CLogViewer2::kMessageStyle);
    EXPECT_EQ(viewer.MessagePane().GetExStyle() & CLogViewer2::kMessageExStyle, CLogViewer2::kMessageExStyle);

    CLogViewer2 narrow;
    ASSERT_TRUE(narrow.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 101, 400), &host, 101));
    EXPECT_EQ(narrow.TypeTree().GetRectInParent().left, 39);
}

TEST_F(LogViewer, RightAfterCreationTheTypeTreeShowsItsGroups) {
    EXPECT_EQ(viewer.MonthTree().GetCount(), 0u);
    EXPECT_EQ(TypeGroups(), (std::vector<std::string>{"System", "Search and playback", "Setup", "Network", "Other", "Error"}));
    const HTREEITEM network = FindChild(viewer.TypeTree(), TVI_ROOT, "Network");
    EXPECT_EQ(Children(viewer.TypeTree(), network), (std::vector<std::string>{"System", "Search and playback", "Setup"}));
    EXPECT_TRUE(viewer.TypeTree().GetItemState(network, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(LogViewer, APersonBrowsesMonthDayAndLog) {
    WriteLog(3, 4, 3, 9, 2);
    WriteLog(3, 4, 3, 11);
    WriteLog(6, 4, 3, 12);
    WriteLog(0, 4, 3, 13);   // loaded, never listed
    WriteLog(1, 4, 5, 10);
    WriteLog(1, 5, 1, 10);
    WriteBytes(dir.file("notes.log"), {1, 2, 3});
    viewer.Init(dir.path().c_str());
    EXPECT_EQ(Children(viewer.MonthTree(), TVI_ROOT), (std::vector<std::string>{"2005-05", "2005-04"}));

    ClickItem(viewer.MonthTree(), Month("2005-04"));
    EXPECT_EQ(Children(viewer.MonthTree(), Month("2005-04")), (std::vector<std::string>{"05", "03"}));

    ClickItem(viewer.MonthTree(), FindChild(viewer.MonthTree(), Month("2005-04"), "03"));
    EXPECT_EQ(TypeGroups(), (std::vector<std::string>{"System (0)", "Search and playback (0)", "Setup (2)", "Network",
                                                      "Other (0)", "Error (0)"}));
    const HTREEITEM network = FindChild(viewer.TypeTree(), TVI_ROOT, "Network");
    EXPECT_EQ(Children(viewer.TypeTree(), network),
              (std::vector<std::string>{"System (0)", "Search and playback (0)", "Setup (1)"}));
    const HTREEITEM setup = FindChild(viewer.TypeTree(), TVI_ROOT, "Setup (2)");
    EXPECT_EQ(Children(viewer.TypeTree(), setup), (std::vector<std::string>{"11:00:00", "09:00:00"}));

    viewer.TypeTree().Expand(setup, TVE_EXPAND);  // as the group's button does
    ClickItem(viewer.TypeTree(), FindChild(viewer.TypeTree(), setup, "09:00:00"));
    const std::string pane = viewer.MessagePane().GetWindowTextString().str();
    EXPECT_NE(pane.find("2005-04-03 09:00:00\r\n"), std::string::npos) << pane;
    EXPECT_NE(pane.find("Recording quality set to 1\r\n"), std::string::npos) << pane;

    ClickItem(viewer.TypeTree(), setup);
    EXPECT_EQ(viewer.MessagePane().GetWindowTextString(), "") << "a group shows no text";
}

TEST_F(LogViewer, SelectingTheSameMonthOrDayAgainChangesNothing) {
    WriteLog(1, 4, 3, 9);
    viewer.Init(dir.path().c_str());
    ClickItem(viewer.MonthTree(), Month("2005-04"));
    const HTREEITEM day = FindChild(viewer.MonthTree(), Month("2005-04"), "03");
    ClickItem(viewer.MonthTree(), day);
    const HTREEITEM system = FindChild(viewer.TypeTree(), TVI_ROOT, "System (1)");
    viewer.TypeTree().Expand(system, TVE_EXPAND);
    ClickItem(viewer.TypeTree(), viewer.TypeTree().GetChildItem(system));

    WriteLog(1, 4, 4, 9);  // a new day on disk is not read by selecting the loaded month again
    viewer.MonthRootSelect(Month("2005-04"));
    EXPECT_EQ(Children(viewer.MonthTree(), Month("2005-04")), std::vector<std::string>{"03"});
    ClickItem(viewer.MonthTree(), day);
    EXPECT_EQ(TypeGroups()[0], "System (1)") << "the same day keeps its tree";
    EXPECT_NE(viewer.MessagePane().GetWindowTextString(), "");
}

TEST_F(LogViewer, ADamagedBlockShowsNoDays) {
    WriteLog(1, 4, 3, 9);
    WriteLog(1, 4, 4, 9);
    auto bytes = ReadBytes(dir.file("200504.log"));
    bytes.back() = 0;
    WriteBytes(dir.file("200504.log"), bytes);
    viewer.Init(dir.path().c_str());
    ClickItem(viewer.MonthTree(), Month("2005-04"));
    EXPECT_TRUE(Children(viewer.MonthTree(), Month("2005-04")).empty());
}

TEST_F(LogViewer, DeleteAllRemovesEveryLogFile) {
    WriteLog(1, 4, 3, 9);
    WriteBytes(dir.file("notes.log"), {1});
    WriteBytes(dir.file("200504.evt"), {1});
    viewer.Init(dir.path().c_str());
    viewer.DeleteAll();
    EXPECT_FALSE(FileExists(dir.file("200504.log").c_str()));
    EXPECT_FALSE(FileExists(dir.file("notes.log").c_str()));
    EXPECT_TRUE(FileExists(dir.file("200504.evt").c_str()));
    EXPECT_EQ(viewer.MonthTree().GetCount(), 0u);
}

TEST_F(LogViewer, SaveLogToTextWritesTheWholeMonth) {
    int asked = 0;
    const std::string target = dir.file("export.txt");
    backend.SetModalAnswer([&](CWnd& dialog) {
        ++asked;
        backend.ClickClient(*dialog.GetDlgItem(CFileDialog::kFileNameField), CPoint(3, 3));
        backend.Type(target);
        backend.Key(VK_RETURN);
    });
    viewer.Init(dir.path().c_str());
    viewer.SaveLogToText();
    EXPECT_EQ(asked, 0) << "no dialog while no month is loaded";

    WriteLog(1, 4, 3, 9);
    WriteLog(2, 4, 5, 9);
    WriteBytes(target, {});  // the dialog asks for an existing file
    viewer.Init(dir.path().c_str());
    ClickItem(viewer.MonthTree(), Month("2005-04"));
    ClickItem(viewer.MonthTree(), FindChild(viewer.MonthTree(), Month("2005-04"), "05"));
    viewer.SaveLogToText();
    EXPECT_EQ(asked, 1);
    const auto written = ReadBytes(target);
    const std::string expected = CLogTextRenderer().MonthText(viewer.LoadedMonth());
    EXPECT_EQ(std::string(written.begin(), written.end()), expected) << "both logs of the month, not only the day's";
}
