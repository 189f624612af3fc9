// The first-generation browser window, driven headless through clicks, checked by what a person
// would read (tree items, counts, the pane) and, for every deletion, by the month file's bytes.
#include <gtest/gtest.h>

#include "log1/CLogViewer.h"
#include "log1/EntryRecord.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"
#include "tests/support/WindowDriver.h"

namespace {

using Labels = std::vector<std::string>;
using entryfile::kRecordSize;

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
    Labels FileNames() const {
        Labels names;
        const auto bytes = ReadBytes(MonthFile());
        for (size_t at = 0; at + kRecordSize <= bytes.size(); at += kRecordSize)
            names.push_back(entryfile::DecodeEntry(bytes.data() + at).name);
        return names;
    }

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

TEST_F(LogViewer, EntriesOfOneSecondAreTwoItemsThatShowTheLaterInTheArray) {
    Write(3, 9, "first");
    Write(3, 9, "second");
    OpenDay("03");
    EXPECT_EQ(Types({"System"}), (Labels{"09:00:00", "09:00:00"}));
    const std::string shown = viewer.Data().Entries()[1].name;
    for (HTREEITEM item = viewer.TypeTree().GetChildItem(WindowDriver::FindItem(viewer.TypeTree(), {"System"}, LabelMatch::start));
         item; item = viewer.TypeTree().GetNextSiblingItem(item)) {
        ui.ClickItem(viewer.TypeTree(), item);
        EXPECT_NE(Pane().find("Name       : " + shown + "\r\n"), std::string::npos);
    }
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

TEST_F(LogViewer, DeletingAnEntryRemovesItsSecondAndRewritesTheMonth) {
    Write(3, 9, "sys");
    Write(3, 10, "net", 3);
    Write(4, 9, "other");
    OpenDay("03");
    ui.ClickItem(viewer.TypeTree(), {"Network", "10:00:00"}, LabelMatch::start);
    viewer.Delete();
    EXPECT_EQ(FileNames(), (Labels{"other", "sys"}));
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
    EXPECT_EQ(FileNames(), (Labels{"net4", "sys3"}));
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
