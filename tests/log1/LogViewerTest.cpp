// The first-generation browser window, driven headless through clicks, checked by what a person
// would read (tree items, counts, the pane) and, for every deletion, by the month file's bytes.
#include <gtest/gtest.h>

#include "log1/CLogViewer.h"
#include "log1/EntryRecord.h"
#include "module/HostContract.h"
#include "module/LocalDay.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"
#include "tests/support/TestStrings.h"
#include "tests/support/WindowDriver.h"

namespace {

using Labels = std::vector<std::string>;

class LogViewer : public testing::Test {
protected:
    LogViewer() : tz("Europe/Berlin") {}

    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        ASSERT_TRUE(viewer.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 400), &host, 100));
    }

    void Write(int day, int hour, const char* name, DWORD type = 0, DWORD updateTime = 0, int minute = 0) {
        WriteTestEntry(dir.path(), {.time = CTime(2005, 3, day, hour, minute, 0), .type = type, .name = name,
                                    .updateTime = updateTime});
    }
    void OpenDay(const char* day) {
        viewer.SetLoadPath(dir.path().c_str());
        ui.ClickItem(viewer.MonthTree(), {"2005-03"});
        ui.ClickItem(viewer.MonthTree(), {"2005-03", day});
    }
    Labels Months() { return ui.ChildLabels(viewer.MonthTree()); }
    Labels Days() { return ui.ChildLabels(viewer.MonthTree(), {"2005-03"}); }
    Labels Types(const LabelPath& path = {}) { return ui.ChildLabels(viewer.TypeTree(), path, LabelMatch::start); }
    std::string Pane() { return ui.Text(viewer.TextPane()); }
    std::string MonthFile() const { return dir.file("200503.log"); }
    Labels FileNames() const { return StoredEntryNames(MonthFile()); }

    TempDir dir;
    ScopedTz tz;
    HeadlessBackend backend{800, 600};
    WindowDriver ui{backend};
    CWnd host;
    CLogViewer viewer;
};

}  // namespace

TEST_F(LogViewer, ControlsFollowTheirOwnFixedPlan) {
    EXPECT_EQ(viewer.MonthTree().GetRectInParent(), CRect(5, 5, 200, 295));
    EXPECT_EQ(viewer.TypeTree().GetRectInParent(), CRect(199, 5, 495, 295));
    EXPECT_EQ(viewer.TextPane().GetRectInParent(), CRect(4, 300, 497, 395));
    EXPECT_EQ(viewer.MonthTree().GetDlgCtrlID(), 1000);
    EXPECT_EQ(viewer.TypeTree().GetDlgCtrlID(), 1001);
    EXPECT_EQ(viewer.TextPane().GetDlgCtrlID(), 1002);
    EXPECT_EQ(viewer.MonthTree().GetStyle(), 0x50810022u);
    EXPECT_EQ(viewer.TypeTree().GetStyle(), 0x50810027u);
    EXPECT_EQ(Types(), (Labels{"System", "Recording", "Setup", "Network", "Error"}));
}

TEST_F(LogViewer, ResizingLaysTheControlsOutAgainByTheSamePlan) {
    viewer.MoveWindow(0, 0, 800, 500);
    EXPECT_EQ(viewer.MonthTree().GetRectInParent(), CRect(5, 5, 320, 395));
    EXPECT_EQ(viewer.TypeTree().GetRectInParent(), CRect(319, 5, 795, 395));
    EXPECT_EQ(viewer.TextPane().GetRectInParent(), CRect(4, 400, 797, 495));
}

TEST_F(LogViewer, AFolderWithoutMonthFilesSaysSoAndATooLongPathIsRefused) {
    viewer.SetLoadPath(std::string(127, 'x').c_str());
    EXPECT_EQ(Pane(), "");
    viewer.SetLoadPath(dir.path().c_str());
    EXPECT_EQ(Pane(), "There is no log file in the folder.");
    EXPECT_TRUE(Months().empty());
}

TEST_F(LogViewer, APersonBrowsesMonthDayTypeAndEntry) {
    Write(3, 9, "nine", 0, CTime(2005, 3, 3, 9, 30, 0).GetTime());
    Write(3, 10, "ten", 3);
    Write(1, 23, "late", 1, 0, 59);
    WriteTestEntry(dir.path(), {.time = CTime(2004, 12, 1, 1, 0, 0)});
    viewer.SetLoadPath(dir.path().c_str());
    EXPECT_EQ(Months(), (Labels{"2005-03", "2004-12"}));
    ui.ClickItem(viewer.MonthTree(), {"2005-03"});
    EXPECT_EQ(Days(), (Labels{"03", "01"}));
    EXPECT_TRUE(Types().empty());
    ui.ClickItem(viewer.MonthTree(), {"2005-03", "03"});
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree()),
              (Labels{"System (1)", "Recording (0)", "Setup (0)", "Network (1)", "Error (0)"}));
    EXPECT_EQ(Types({"Network"}), (Labels{"10:00:00"}));
    ui.ClickItem(viewer.TypeTree(), {"System", "09:00:00"}, LabelMatch::start);
    EXPECT_EQ(Pane(),
              "Start time : 2005-03-03 09:00:00\r\nEnd time   : 2005-03-03 09:30:00\r\nName       : nine\r\n"
              "Type       : System\r\nFlag       : Clear\r\nRecords    : text\r\n");
    ui.ClickItem(viewer.TypeTree(), {"Network", "10:00:00"}, LabelMatch::start);
    EXPECT_NE(Pane().find("End time   : \r\n"), std::string::npos);
    ui.ClickItem(viewer.TypeTree(), {"Network"}, LabelMatch::start);
    EXPECT_EQ(Pane(), "");
    // Opening another month closes the first.
    ui.ClickItem(viewer.MonthTree(), {"2004-12"});
    EXPECT_FALSE(viewer.MonthTree().GetItemState(WindowDriver::FindItem(viewer.MonthTree(), {"2005-03"}), TVIS_EXPANDED) &
                 TVIS_EXPANDED);
}

// Entries of one second show the same time: each item still shows, and deletes, its own entry,
// and no entry of another type at that second.
TEST_F(LogViewer, EachItemOfOneSecondShowsAndDeletesItsOwnEntry) {
    Write(3, 9, "first");
    Write(3, 9, "second");
    Write(3, 9, "network", 3);
    OpenDay("03");
    EXPECT_EQ(Types({"System"}), (Labels{"09:00:00", "09:00:00"}));
    CTreeCtrl& types = viewer.TypeTree();
    const HTREEITEM system = WindowDriver::FindItem(types, {"System"}, LabelMatch::start);
    Labels shown;
    for (HTREEITEM item = types.GetChildItem(system); item; item = types.GetNextSiblingItem(item)) {
        ui.ClickItem(types, item);
        shown.push_back(Pane().substr(Pane().find("Name       : ")));
    }
    EXPECT_EQ(shown, (Labels{"Name       : second\r\nType       : System\r\nFlag       : Clear\r\nRecords    : text\r\n",
                             "Name       : first\r\nType       : System\r\nFlag       : Clear\r\nRecords    : text\r\n"}));
    ui.ClickItem(types, types.GetChildItem(system));
    viewer.Delete();
    EXPECT_EQ(FileNames(), (Labels{"first", "network"}));
    EXPECT_EQ(ui.ChildLabels(types), (Labels{"System (1)", "Recording (0)", "Setup (0)", "Network (1)", "Error (0)"}));
}

// A host whose type labels share their start: each type's branch deletes its own type.
TEST_F(LogViewer, ATypeIsTakenFromItsBranchNotFromTheStartOfItsLabel) {
    TestStrings strings({{host::kEntryTypeLabels[0], "Alarm"}, {host::kEntryTypeLabels[1], "Alarm input"}});
    Write(3, 9, "alarm", 0);
    Write(3, 10, "input", 1);
    OpenDay("03");
    ui.ClickItem(viewer.TypeTree(), {"Alarm input (1)"});
    viewer.Delete();
    EXPECT_EQ(FileNames(), (Labels{"alarm"}));
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree()).front(), "Alarm (1)");
}

// The memory operations, as a host calls them: removals touch neither the trees nor the file
// until MemorySave, which takes out what was removed and keeps every other entry.
TEST_F(LogViewer, AHostCountsRemovesAndSavesThroughTheBrowser) {
    Write(3, 9, "sys");
    Write(3, 10, "net", 3);
    Write(4, 9, "other", 3);
    OpenDay("03");
    const DWORD day3 = LocalMidnight(2005, 3, 3), day4 = LocalMidnight(2005, 3, 4);
    EXPECT_EQ(viewer.MemorySearchType(3), 2);
    EXPECT_EQ(viewer.MemorySearchTime(day3, day4), 1);
    viewer.MemoryDeleteType(3);
    viewer.MemoryDeleteTime(CTime(2005, 3, 3, 9, 0, 0).GetTime());
    EXPECT_EQ(viewer.MemorySearchType(3), 0);
    EXPECT_EQ(viewer.MemorySearchTime(day3, day4 + 86400), 0);
    EXPECT_EQ(Types({"Network"}), (Labels{"10:00:00"}));
    EXPECT_EQ(FileNames(), (Labels{"sys", "net", "other"}));
    Write(5, 9, "saved meanwhile");
    EXPECT_EQ(viewer.MemorySave(day3), 1);
    EXPECT_EQ(FileNames(), (Labels{"saved meanwhile"}));
    viewer.MemoryDeleteTime(day3, day3);
    EXPECT_EQ(viewer.MemorySave(day3), 1);
    EXPECT_EQ(FileNames(), (Labels{"saved meanwhile"}));
}

TEST_F(LogViewer, ATornMonthSaysSoAndStillListsItsDays) {
    Write(3, 9, "whole");
    auto bytes = ReadBytes(MonthFile());
    bytes.push_back(1);
    WriteBytes(MonthFile(), bytes);
    viewer.SetLoadPath(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-03"});
    EXPECT_EQ(Pane(), "The log file of this month is damaged: its length is wrong.");
    EXPECT_EQ(Days(), (Labels{"03"}));
    std::remove(MonthFile().c_str());
    viewer.Reload();
    EXPECT_EQ(Pane(), "There is no log file in the folder.");
}

TEST_F(LogViewer, AMonthWhoseFileWentAwaySaysItCannotBeOpened) {
    Write(3, 9, "x");
    viewer.SetLoadPath(dir.path().c_str());
    std::remove(MonthFile().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-03"});
    EXPECT_EQ(Pane(), "The log file of this month cannot be opened.");
    EXPECT_TRUE(Days().empty());
}

TEST_F(LogViewer, DeletingAnEntryTakesItOutOfTheMonthFile) {
    Write(3, 9, "sys");
    Write(3, 10, "net", 3);
    Write(4, 9, "other");
    OpenDay("03");
    ui.ClickItem(viewer.TypeTree(), {"Network", "10:00:00"}, LabelMatch::start);
    viewer.Delete();
    EXPECT_EQ(FileNames(), (Labels{"sys", "other"}));
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree()),
              (Labels{"System (1)", "Recording (0)", "Setup (0)", "Network (0)", "Error (0)"}));
    ui.ClickItem(viewer.TypeTree(), {"System", "09:00:00"}, LabelMatch::start);
    viewer.Delete();  // the day's last entry: the day goes, the month stays with its other day
    EXPECT_EQ(FileNames(), (Labels{"other"}));
    EXPECT_EQ(Days(), (Labels{"04"}));
    EXPECT_TRUE(Types().empty());
}

TEST_F(LogViewer, DeletingATypeRemovesThatTypeOfTheChosenDayOnly) {
    Write(3, 9, "sys3");
    Write(3, 10, "net3", 3);
    Write(4, 10, "net4", 3);
    OpenDay("03");
    ui.ClickItem(viewer.TypeTree(), {"Network"}, LabelMatch::start);
    viewer.Delete();
    EXPECT_EQ(FileNames(), (Labels{"sys3", "net4"}));
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree(), {"Network (0)"}), Labels{});
    EXPECT_EQ(Types({"System"}), (Labels{"09:00:00"}));
    ui.ClickItem(viewer.TypeTree(), {"System"}, LabelMatch::start);
    viewer.Delete();
    EXPECT_EQ(FileNames(), (Labels{"net4"}));
    EXPECT_EQ(Days(), (Labels{"04"}));
}

TEST_F(LogViewer, DeletingTheLastDayRemovesTheMonthItemAndItsFile) {
    Write(3, 9, "a");
    Write(3, 10, "b", 2);
    WriteTestEntry(dir.path(), {.time = CTime(2005, 2, 1, 1, 0, 0)});
    OpenDay("03");
    viewer.Delete();
    EXPECT_FALSE(FileExists(MonthFile().c_str()));
    EXPECT_EQ(Months(), (Labels{"2005-02"}));
    EXPECT_TRUE(Types().empty());
}

TEST_F(LogViewer, DeletingAMonthDeletesItsFileOrLeavesTheItemWhenItCannot) {
    Write(3, 9, "a");
    WriteTestEntry(dir.path(), {.time = CTime(2005, 2, 1, 1, 0, 0)});
    viewer.SetLoadPath(dir.path().c_str());
    ui.ClickItem(viewer.MonthTree(), {"2005-02"});
    std::remove(dir.file("200502.log").c_str());
    viewer.Delete();
    EXPECT_EQ(Months(), (Labels{"2005-03", "2005-02"}));
    ui.ClickItem(viewer.MonthTree(), {"2005-03"});
    viewer.Delete();
    EXPECT_FALSE(FileExists(MonthFile().c_str()));
    EXPECT_EQ(Months(), (Labels{"2005-02"}));
}

TEST_F(LogViewer, DeleteAllNeedsAFolderWithMonthFiles) {
    Write(3, 9, "a");
    viewer.DeleteAll();  // no folder yet: nothing, not even in the current directory
    EXPECT_TRUE(FileExists(MonthFile().c_str()));
    TempDir empty;
    viewer.SetLoadPath(empty.path().c_str());
    viewer.DeleteAll();
    EXPECT_EQ(Types(), (Labels{"System", "Recording", "Setup", "Network", "Error"}));
    viewer.SetLoadPath(dir.path().c_str());
    viewer.DeleteAll();
    EXPECT_FALSE(FileExists(MonthFile().c_str()));
    EXPECT_TRUE(Months().empty());
    EXPECT_EQ(Types().size(), 5u);
}
