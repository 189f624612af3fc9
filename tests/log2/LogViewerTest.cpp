// The log browser window, driven headless through clicks on its trees, checked by what a person
// would read: tree items, group labels, the text pane.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>

#include "log2/CLogViewer2.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/FileSystem.h"
#include "platform/gdi/StockObjects.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"
#include "tests/support/WindowDriver.h"

namespace {

class LogViewer : public testing::Test {
protected:
    LogViewer() : tz("Europe/Berlin"), clock(0) {}

    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        ASSERT_TRUE(viewer.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 400), &host, 100));
    }

    // A log of `type` open for 30 seconds from the local time given, with `records` records of
    // key (3, 2, 3).
    void WriteLog(BYTE type, int month, int day, int hour, int records = 1) {
        TestLog log{.start = CTime(2005, month, day, hour, 0, 0), .type = type, .records = {},
                    .end = CTime(2005, month, day, hour, 0, 30), .result = 1};
        for (int i = 0; i < records; ++i) log.records.push_back({.category = 2, .code = 3, .value1 = DWORD(i)});
        WriteTestLog(dir.path(), clock, log);
    }

    std::vector<std::string> Months() { return ui.ChildLabels(viewer.MonthTree()); }
    std::vector<std::string> Days(const char* month) { return ui.ChildLabels(viewer.MonthTree(), {month}); }
    std::vector<std::string> TypeGroups() { return ui.ChildLabels(viewer.TypeTree()); }
    std::string Pane() { return ui.Text(viewer.MessagePane()); }

    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
    HeadlessBackend backend{800, 600};
    WindowDriver ui{backend};
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

// A resized browser lays its controls out again by the rule of its creation, whether its host
// moves it or it fills a display's window that the person resizes.
TEST_F(LogViewer, ResizingLaysTheControlsOutAgain) {
    viewer.MoveWindow(0, 0, 800, 500);
    EXPECT_EQ(viewer.MonthTree().GetRectInParent(), CRect(5, 5, 320, 350));
    EXPECT_EQ(viewer.TypeTree().GetRectInParent(), CRect(319, 5, 795, 350));
    EXPECT_EQ(viewer.MessagePane().GetRectInParent(), CRect(5, 350, 795, 495));

    host.DestroyWindow();
    CLogViewer2 shown;
    ASSERT_TRUE(shown.CreateEx(0, nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
    backend.Resize(1000, 700);
    EXPECT_EQ(shown.MonthTree().GetRectInParent(), CRect(5, 5, 400, 550));
    EXPECT_EQ(shown.TypeTree().GetRectInParent(), CRect(399, 5, 995, 550));
    EXPECT_EQ(shown.MessagePane().GetRectInParent(), CRect(5, 550, 995, 695));
    // Drawn where they now are: the pane's frame, not the desktop, at its new bottom right.
    EXPECT_NE(backend.PixelAt(994, 694), GetSysColor(COLOR_BACKGROUND));
}

TEST_F(LogViewer, RightAfterCreationTheTypeTreeShowsItsGroups) {
    EXPECT_EQ(viewer.MonthTree().GetCount(), 0u);
    EXPECT_EQ(TypeGroups(), (std::vector<std::string>{"System", "Search and playback", "Setup", "Network", "Other", "Error"}));
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree(), {"Network"}),
              (std::vector<std::string>{"System", "Search and playback", "Setup"}));
    const HTREEITEM network = ui.FindItem(viewer.TypeTree(), {"Network"});
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
    EXPECT_EQ(Months(), (std::vector<std::string>{"2005-05", "2005-04"}));

    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    EXPECT_EQ(Days("2005-04"), (std::vector<std::string>{"05", "03"}));

    ui.ClickItem(viewer.MonthTree(), {"2005-04", "03"});
    EXPECT_EQ(TypeGroups(), (std::vector<std::string>{"System (0)", "Search and playback (0)", "Setup (2)", "Network",
                                                      "Other (0)", "Error (0)"}));
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree(), {"Network"}),
              (std::vector<std::string>{"System (0)", "Search and playback (0)", "Setup (1)"}));
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree(), {"Setup (2)"}), (std::vector<std::string>{"11:00:00", "09:00:00"}));

    ui.ClickItem(viewer.TypeTree(), {"Setup", "09:00:00"}, LabelMatch::start);
    EXPECT_NE(Pane().find("2005-04-03 09:00:00\r\n"), std::string::npos) << Pane();
    EXPECT_NE(Pane().find("Recording quality set to 1\r\n"), std::string::npos) << Pane();

    ui.ClickItem(viewer.TypeTree(), {"Setup (2)"});
    EXPECT_EQ(Pane(), "") << "a group shows no text";
}

TEST_F(LogViewer, SelectingTheSameMonthOrDayAgainChangesNothing) {
    WriteLog(1, 4, 3, 9);
    viewer.Init(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    const HTREEITEM day = ui.ClickItem(viewer.MonthTree(), {"2005-04", "03"});
    ui.ClickItem(viewer.TypeTree(), {"System (1)", "09:00:00"});

    WriteLog(1, 4, 4, 9);  // a new day on disk is not read by selecting the loaded month again
    viewer.MonthRootSelect(ui.FindItem(viewer.MonthTree(), {"2005-04"}));
    EXPECT_EQ(Days("2005-04"), std::vector<std::string>{"03"});
    ui.ClickItem(viewer.MonthTree(), day);
    EXPECT_EQ(TypeGroups()[0], "System (1)") << "the same day keeps its tree";
    EXPECT_NE(Pane(), "");
}

// The pane shows a log of the chosen day only: another day leaves it empty until one of that
// day's logs is chosen.
TEST_F(LogViewer, ChoosingAnotherDayEmptiesThePane) {
    WriteLog(1, 4, 3, 9);
    WriteLog(1, 4, 5, 10);
    viewer.Init(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    ui.ClickItem(viewer.MonthTree(), {"2005-04", "03"});
    ui.ClickItem(viewer.TypeTree(), {"System (1)", "09:00:00"});
    ASSERT_NE(Pane(), "");

    ui.ClickItem(viewer.MonthTree(), {"2005-04", "05"});
    EXPECT_EQ(Pane(), "");
    ui.ClickItem(viewer.TypeTree(), {"System (1)", "10:00:00"});
    EXPECT_NE(Pane().find("2005-04-05 10:00:00"), std::string::npos) << Pane();
}

TEST_F(LogViewer, ADamagedBlockShowsNoDays) {
    WriteLog(1, 4, 3, 9);
    WriteLog(1, 4, 4, 9);
    auto bytes = ReadBytes(dir.file("200504.log"));
    bytes.back() = 0;
    WriteBytes(dir.file("200504.log"), bytes);
    viewer.Init(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    EXPECT_TRUE(Days("2005-04").empty());
}

TEST_F(LogViewer, DeleteAllRemovesEveryLogFile) {
    WriteLog(1, 4, 3, 9);
    WriteBytes(dir.file("notes.log"), {1});
    WriteTestEvent(dir.path(), {.time = CTime(2005, 4, 3, 9, 0, 0), .text = "Door"});
    viewer.Init(dir.path().c_str());
    viewer.DeleteAll();
    EXPECT_FALSE(FileExists(dir.file("200504.log").c_str()));
    EXPECT_FALSE(FileExists(dir.file("notes.log").c_str()));
    EXPECT_TRUE(FileExists(dir.file("200504.evt").c_str())) << "the month's events stay";
    EXPECT_EQ(viewer.MonthTree().GetCount(), 0u);
}

// Before a folder is set there is nothing to delete: the folder's empty text must never be read
// as the file system's root.
TEST_F(LogViewer, DeleteAllBeforeAFolderIsSetDoesNothing) {
    viewer.DeleteAll();
    EXPECT_EQ(viewer.MonthTree().GetCount(), 0u);
    EXPECT_EQ(TypeGroups().size(), 6u) << "the default type tree stays as it was";
}

TEST_F(LogViewer, SaveLogToTextWritesTheWholeMonth) {
    const std::string target = dir.file("export.txt");
    ui.QueueFileDialogAnswer(target);
    viewer.Init(dir.path().c_str());
    viewer.SaveLogToText();
    EXPECT_EQ(ui.QueuedAnswers(), 1u) << "no dialog while no month is loaded";

    WriteLog(1, 4, 3, 9);
    WriteLog(2, 4, 5, 9);
    viewer.Init(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    ui.ClickItem(viewer.MonthTree(), {"2005-04", "05"});
    viewer.SaveLogToText();
    EXPECT_EQ(ui.QueuedAnswers(), 0u) << "the dialog was answered";
    const auto written = ReadBytes(target);
    const std::string expected = CLogTextRenderer().MonthText(viewer.LoadedMonth());
    EXPECT_EQ(std::string(written.begin(), written.end()), expected) << "both logs of the month, not only the day's";
}

// The export writes a new file, and replaces an existing one only when the person confirms it.
TEST_F(LogViewer, SaveLogToTextAsksBeforeReplacingAFile) {
    WriteLog(1, 4, 3, 9);
    viewer.Init(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    const std::string target = dir.file("kept.txt");
    WriteBytes(target, {'o', 'l', 'd'});

    ui.QueueFileDialogAnswer(target);  // OK once: asked, the person gives no second OK
    viewer.SaveLogToText();
    const auto kept = ReadBytes(target);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old");

    ui.QueueFileDialogAnswer(target, true);
    viewer.SaveLogToText();
    const auto replaced = ReadBytes(target);
    EXPECT_EQ(std::string(replaced.begin(), replaced.end()), CLogTextRenderer().MonthText(viewer.LoadedMonth()));

    // A link chosen as the file is replaced by the export; what it pointed to stays as it was.
    const std::string elsewhere = dir.file("elsewhere.txt");
    WriteBytes(elsewhere, {'k', 'e', 'p', 't'});
    const std::string link = dir.file("link.txt");
    ASSERT_EQ(symlink(elsewhere.c_str(), link.c_str()), 0);
    ui.QueueFileDialogAnswer(link, true);
    viewer.SaveLogToText();
    const auto untouched = ReadBytes(elsewhere);
    EXPECT_EQ(std::string(untouched.begin(), untouched.end()), "kept");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(link)));
}

// Two writers, or a host restarted within a second, give two logs of a day the same handle: each
// item still shows its own log.
TEST_F(LogViewer, TwoLogsWithOneStartSecondEachShowTheirOwnRecords) {
    WriteLog(1, 4, 3, 9, 1);
    WriteLog(1, 4, 3, 9, 3);
    viewer.Init(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    ui.ClickItem(viewer.MonthTree(), {"2005-04", "03"});
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree(), {"System (2)"}), (std::vector<std::string>{"09:00:00", "09:00:00"}));

    const HTREEITEM first = ui.FindItem(viewer.TypeTree(), {"System (2)", "09:00:00"});
    const HTREEITEM second = viewer.TypeTree().GetNextSiblingItem(first);
    ASSERT_NE(second, nullptr);
    std::vector<std::string> panes;
    for (const HTREEITEM item : {first, second}) {
        ui.ClickItem(viewer.TypeTree(), item);
        panes.push_back(Pane());
    }
    // Each record of these logs reads "Hard disk full": one log has one, the other three.
    std::multiset<size_t> lines;
    for (const std::string& pane : panes) {
        size_t count = 0;
        for (size_t at = pane.find("Hard disk full"); at != std::string::npos; at = pane.find("Hard disk full", at + 1))
            ++count;
        lines.insert(count);
    }
    EXPECT_EQ(lines, (std::multiset<size_t>{1, 3})) << panes[0] << "\n----\n" << panes[1];
}
