// The event browser window, driven headless through clicks on its trees, checked by what a person
// would read: tree items, their counts, the text pane.
#include <gtest/gtest.h>

#include "event/CEventViewer.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"
#include "tests/support/WindowDriver.h"

namespace {

using Labels = std::vector<std::string>;

Labels StandardChannels() {
    Labels channels;
    for (int c = 1; c <= 16; ++c) channels.push_back(ChannelLabel(c));
    return channels;
}

class EventViewer : public testing::Test {
protected:
    EventViewer() : tz("Europe/Berlin") {}

    void SetUp() override {
        ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        ASSERT_TRUE(viewer.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 400), &host, 100));
    }

    void Write(int day, int hour, DWORD channel, BYTE source, BYTE side = 1, DWORD actions = 1) {
        WriteTestEvent(dir.path(), {.time = CTime(2005, 4, day, hour, 0, 0), .channel = channel, .actions = actions,
                                    .source = source, .side = side, .text = "Door"});
    }
    void OpenDay(const char* day) {
        viewer.Init(dir.path().c_str());
        ui.ClickItem(viewer.MonthTree(), {"2005-04"});
        ui.ClickItem(viewer.MonthTree(), {"2005-04", day});
    }
    Labels Events(const LabelPath& path = {}) { return ui.ChildLabels(viewer.EventTree(), path); }
    std::string Pane() { return ui.Text(viewer.MessagePane()); }

    TempDir dir;
    ScopedTz tz;
    HeadlessBackend backend{800, 600};
    WindowDriver ui{backend};
    CWnd host;
    CEventViewer viewer;
};

}  // namespace

TEST_F(EventViewer, ControlsFollowTheLogBrowsersPlan) {
    EXPECT_EQ(viewer.MonthTree().GetRectInParent(), CRect(5, 5, 200, 250));
    EXPECT_EQ(viewer.EventTree().GetRectInParent(), CRect(199, 5, 495, 250));
    EXPECT_EQ(viewer.MessagePane().GetRectInParent(), CRect(5, 250, 495, 395));
    EXPECT_EQ(viewer.MonthTree().GetDlgCtrlID(), 1004);
    EXPECT_EQ(viewer.EventTree().GetDlgCtrlID(), 1005);
    EXPECT_EQ(viewer.MessagePane().GetDlgCtrlID(), 1006);
    EXPECT_EQ(viewer.EventTree().GetStyle(), 0x50800027u);
}

TEST_F(EventViewer, ResizingLaysTheControlsOutAgain) {
    viewer.MoveWindow(0, 0, 800, 500);
    EXPECT_EQ(viewer.MonthTree().GetRectInParent(), CRect(5, 5, 320, 350));
    EXPECT_EQ(viewer.EventTree().GetRectInParent(), CRect(319, 5, 795, 350));
    EXPECT_EQ(viewer.MessagePane().GetRectInParent(), CRect(5, 350, 795, 495));
}

TEST_F(EventViewer, TheEventTreeIsEmptyUntilAFolderIsSetThenShowsEveryChannel) {
    EXPECT_EQ(viewer.EventTree().GetCount(), 0u);
    viewer.Init(dir.path().c_str());
    EXPECT_EQ(Events(), (Labels{"Camera", "Sensor"}));
    EXPECT_EQ(Events({"Camera"}), StandardChannels());
    EXPECT_EQ(Events({"Sensor"}), StandardChannels());
}

TEST_F(EventViewer, APersonBrowsesMonthDayChannelAndEvent) {
    Write(3, 9, 3, kSourceCamera);
    Write(3, 10, 3, kSourceCamera);
    Write(3, 11, 16, kSourceSensor, kSideServer, 3);
    Write(5, 9, 1, kSourceCamera);
    WriteTestEvent(dir.path(), {.time = CTime(2005, 3, 1, 9, 0, 0)});
    viewer.Init(dir.path().c_str());
    EXPECT_EQ(ui.ChildLabels(viewer.MonthTree()), (Labels{"2005-04", "2005-03"}));
    ui.ClickItem(viewer.MonthTree(), {"2005-04"});
    EXPECT_EQ(ui.ChildLabels(viewer.MonthTree(), {"2005-04"}), (Labels{"05", "03"}));

    ui.ClickItem(viewer.MonthTree(), {"2005-04", "03"});
    EXPECT_EQ(Events(), (Labels{"Camera (02)", "Sensor (01)"}));
    EXPECT_EQ(Events({"Camera (02)"}), (Labels{"Ch03 (02)"})) << "only the day's channels stay";
    EXPECT_EQ(Events({"Sensor (01)"}), (Labels{"Ch16 (01)"}));
    EXPECT_EQ(Events({"Camera (02)", "Ch03 (02)"}), (Labels{"10:00:00", "09:00:00"}));

    ui.ClickItem(viewer.EventTree(), {"Sensor (01)", "Ch16 (01)", "11:00:00"});
    EXPECT_EQ(Pane(), "Time : 2005-04-03 11:00:00\r\nSensor : 16\r\n\r\nAction :\r\n------------\r\n"
                      "Sensor alarm (Door)\r\nAlarm output switched on\r\n");
    ui.ClickItem(viewer.EventTree(), {"Camera (02)", "Ch03 (02)"});
    EXPECT_EQ(Pane(), "") << "a channel shows no text";
}

// The pane shows an event of the chosen day only: another day leaves it empty until one of that
// day's events is chosen.
TEST_F(EventViewer, ChoosingAnotherDayEmptiesThePane) {
    Write(3, 9, 3, kSourceCamera);
    Write(5, 10, 3, kSourceCamera);
    OpenDay("03");
    ui.ClickItem(viewer.EventTree(), {"Camera (01)", "Ch03 (01)", "09:00:00"});
    ASSERT_NE(Pane(), "");

    ui.ClickItem(viewer.MonthTree(), {"2005-04", "05"});
    EXPECT_EQ(Pane(), "");
    ui.ClickItem(viewer.EventTree(), {"Camera (01)", "Ch03 (01)", "10:00:00"});
    EXPECT_NE(Pane().find("2005-04-05 10:00:00"), std::string::npos) << Pane();
}

TEST_F(EventViewer, EventsOfOneSecondEachShowTheirOwnText) {
    WriteTestEvent(dir.path(), {.time = CTime(2005, 4, 3, 9, 0, 0), .channel = 2, .actions = 1, .text = "first"});
    WriteTestEvent(dir.path(), {.time = CTime(2005, 4, 3, 9, 0, 0), .channel = 2, .actions = 1, .text = "second"});
    OpenDay("03");
    const HTREEITEM channel = ui.FindItem(viewer.EventTree(), {"Camera (02)", "Ch02 (02)"});
    std::vector<std::string> texts;
    for (HTREEITEM e = viewer.EventTree().GetChildItem(channel); e; e = viewer.EventTree().GetNextSiblingItem(e)) {
        ui.ClickItem(viewer.EventTree(), e);
        texts.push_back(Pane().substr(Pane().rfind('(')));
    }
    EXPECT_EQ(texts, (Labels{"(second)\r\n", "(first)\r\n"})) << "the later arrival first";
}

TEST_F(EventViewer, EventsOfAnyOtherSideShowNoText) {
    Write(3, 9, 3, kSourceCamera, 0);
    OpenDay("03");
    ui.ClickItem(viewer.EventTree(), {"Camera (01)", "Ch03 (01)", "09:00:00"});
    EXPECT_EQ(Pane(), "");
}

TEST_F(EventViewer, StrangeSourcesAndChannelsAreListedNotDropped) {
    Write(3, 9, 20, kSourceCamera);
    Write(3, 10, 5, 7);
    OpenDay("03");
    EXPECT_EQ(Events(), (Labels{"Camera (01)", "Sensor (00)", "Other (01)"}));
    EXPECT_EQ(Events({"Camera (01)"}), (Labels{"Ch20 (01)"}));
    EXPECT_EQ(Events({"Other (01)", "Ch05 (01)"}), (Labels{"10:00:00"}));
    ui.ClickItem(viewer.EventTree(), {"Other (01)", "Ch05 (01)", "10:00:00"});
    EXPECT_EQ(Pane(), "Time : 2005-04-03 10:00:00\r\n\r\nAction :\r\n------------\r\n");
}

// A month file cut inside a record (a write cut short, a copy in progress) keeps its whole events.
TEST_F(EventViewer, APartialLastRecordHidesNothingBeforeIt) {
    Write(3, 9, 3, kSourceCamera);
    auto bytes = ReadBytes(dir.file("200504.evt"));
    bytes.resize(bytes.size() + 28, 0xEE);
    WriteBytes(dir.file("200504.evt"), bytes);
    OpenDay("03");
    EXPECT_EQ(Events({"Camera (01)"}), (Labels{"Ch03 (01)"}));
}

TEST_F(EventViewer, DeleteAllRemovesEveryEventFileAndNeedsAFolder) {
    Write(3, 9, 3, kSourceCamera);
    WriteBytes(dir.file("notes.evt"), {1});
    WriteBytes(dir.file("200504.log"), {1});
    viewer.DeleteAll();
    EXPECT_TRUE(FileExists(dir.file("200504.evt").c_str())) << "no folder set: nothing is deleted";
    viewer.Init(dir.path().c_str());
    viewer.DeleteAll();
    EXPECT_FALSE(FileExists(dir.file("200504.evt").c_str()));
    EXPECT_FALSE(FileExists(dir.file("notes.evt").c_str()));
    EXPECT_TRUE(FileExists(dir.file("200504.log").c_str())) << "the month's logs stay";
    EXPECT_EQ(viewer.MonthTree().GetCount(), 0u);
}
