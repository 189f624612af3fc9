// The event browser's data and texts, without a window: what a month file loads as, how a day's
// events group by source and channel, and what the pane says about an event.
#include <gtest/gtest.h>

#include "event/EventMonthData.h"
#include "event/EventText.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"
#include "tests/support/TestStrings.h"

namespace {

_EVENT_LOG_ Event(DWORD time, DWORD channel, BYTE source, BYTE side, DWORD actions = 1, const char* text = "Door") {
    _EVENT_LOG_ e{};
    e.time = time;
    e.channel = channel;
    e.actions = actions;
    e.source = source;
    e.side = side;
    std::snprintf(e.text, sizeof e.text, "%s", text);
    e.mark = eventfile::kMark;
    return e;
}

std::vector<std::uint8_t> FileOf(const std::vector<_EVENT_LOG_>& events) {
    std::vector<std::uint8_t> bytes(events.size() * eventfile::kRecordSize);
    for (size_t i = 0; i < events.size(); ++i) eventfile::EncodeEvent(bytes.data() + i * eventfile::kRecordSize, events[i]);
    return bytes;
}

class EventMonth : public testing::Test {
protected:
    EventMonth() : tz("Europe/Berlin") {}

    DWORD At(int day, int hour, int minute = 0) const { return CTime(2005, 4, day, hour, minute, 0).GetTime(); }
    EventMonthLoad Load(const std::vector<std::uint8_t>& bytes) {
        WriteBytes(dir.file("200504.evt"), bytes);
        return data.Load(dir.path(), {2005, 4});
    }

    TempDir dir;
    ScopedTz tz;
    CEventMonthData data;
};

}  // namespace

// What survives of a damaged or cut month file: every whole record with its mark.
TEST_F(EventMonth, LoadsEveryWholeMarkedRecord) {
    struct Case {
        const char* name;
        size_t cutTo;       // bytes kept of three records (108)
        int badMarkAt;      // record whose mark is cleared, or -1
        EventMonthLoad result;
        int events;
        std::uint64_t badMarks, partialBytes;
    } cases[] = {
        {"whole", 108, -1, EventMonthLoad::loaded, 3, 0, 0},
        {"72 bytes, second mark bad", 72, 1, EventMonthLoad::loaded, 1, 1, 0},
        {"100 bytes", 100, -1, EventMonthLoad::partialRecord, 2, 0, 28},
        {"a record and a byte", 37, -1, EventMonthLoad::partialRecord, 1, 0, 1},
        {"less than a record", 20, -1, EventMonthLoad::partialRecord, 0, 0, 20},
        {"empty", 0, -1, EventMonthLoad::loaded, 0, 0, 0},
    };
    for (const Case& c : cases) {
        auto bytes = FileOf({Event(At(3, 9), 3, 1, 1), Event(At(3, 10), 3, 1, 1), Event(At(4, 9), 16, 2, 1)});
        if (c.badMarkAt >= 0) bytes[c.badMarkAt * eventfile::kRecordSize + eventfile::kMarkOffset] = 0;
        bytes.resize(c.cutTo);
        EXPECT_EQ(Load(bytes), c.result) << c.name;
        EXPECT_EQ(data.Events().GetSize(), c.events) << c.name;
        EXPECT_EQ(data.BadMarks(), c.badMarks) << c.name;
        EXPECT_EQ(data.PartialBytes(), c.partialBytes) << c.name;
    }
    EXPECT_EQ(data.Load(dir.path(), {2005, 5}), EventMonthLoad::notOpened);
}

TEST_F(EventMonth, EventsAreLatestFirstAndDaysAreCalendarDays) {
    // Out of order in the file, with the 25-hour 30 October among the days.
    const DWORD lastHalfHour = CTime(2005, 10, 30, 23, 30, 0).GetTime();
    WriteBytes(dir.file("200510.evt"), FileOf({Event(CTime(2005, 10, 3, 9, 0, 0).GetTime(), 1, 1, 1),
                                               Event(lastHalfHour, 2, 1, 1),
                                               Event(CTime(2005, 10, 31, 0, 10, 0).GetTime(), 3, 1, 1),
                                               Event(CTime(2005, 10, 30, 1, 0, 0).GetTime(), 4, 1, 1)}));
    ASSERT_EQ(data.Load(dir.path(), {2005, 10}), EventMonthLoad::loaded);
    std::vector<DWORD> channels;
    for (const _EVENT_LOG_& e : data.Events()) channels.push_back(e.channel);
    EXPECT_EQ(channels, (std::vector<DWORD>{3, 2, 4, 1}));
    const auto days = data.Days();
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[1].label, "30");
    EXPECT_EQ(data.GroupDay(days[1]).Count(0), 2u) << "23:30 on the long day is still that day";
}

TEST_F(EventMonth, ADayGroupsBySourceAndChannelAndKeepsStrangeEvents) {
    ASSERT_EQ(Load(FileOf({Event(At(3, 9), 3, kSourceCamera, 1), Event(At(3, 10), 3, kSourceCamera, 1),
                           Event(At(3, 11), 16, kSourceSensor, 1), Event(At(3, 12), 20, kSourceCamera, 1),
                           Event(At(3, 13), 5, 7, 1), Event(At(4, 9), 3, kSourceCamera, 1)})),
              EventMonthLoad::loaded);
    const EventDayGroups groups = data.GroupDay(data.Days().at(1));
    ASSERT_EQ(groups.channels[0].size(), 2u);
    EXPECT_EQ(groups.channels[0][0].channel, 3u);
    EXPECT_EQ(groups.channels[0][0].events.size(), 2u);
    EXPECT_EQ(groups.channels[0][1].channel, 20u) << "a channel beyond 16 keeps its source's group";
    EXPECT_EQ(groups.Count(1), 1u);
    EXPECT_EQ(groups.channels[1][0].channel, 16u);
    ASSERT_EQ(groups.Count(2), 1u) << "an unknown source is listed in the last group";
    EXPECT_EQ(data.Events()[groups.channels[2][0].events[0]].source, 7);
}

TEST(EventText, SaysWhatHappenedInTheHostsWords) {
    ScopedTz tz("UTC");
    const DWORD t = CTime(2005, 5, 2, 12, 0, 0).GetTime();
    const std::string time = "Time : 2005-05-02 12:00:00\r\n";
    const std::string heading = "\r\nAction :\r\n------------\r\n";
    struct Case {
        _EVENT_LOG_ event;
        std::string text;
    } cases[] = {
        {Event(t, 3, kSourceCamera, kSideServer, 1), time + "Camera : 3\r\n" + heading + "Motion recorded (Door)\r\n"},
        {Event(t, 7, kSourceSensor, kSideServer, 3),
         time + "Sensor : 7\r\n" + heading + "Sensor alarm (Door)\r\nAlarm output switched on\r\n"},
        {Event(t, 7, kSourceSensor, kSideClient, 3), time + "Sensor : 7\r\n" + heading + "Remote sensor alarm (Door)\r\n"},
        {Event(t, 3, kSourceCamera, kSideClient, 1), time + "Camera : 3\r\n" + heading + "Remote motion alarm (Door)\r\n"},
        {Event(t, 3, kSourceCamera, kSideServer, 2), time + "Camera : 3\r\n" + heading + "Alarm output switched on\r\n"},
        {Event(t, 3, kSourceCamera, kSideServer, 0), time + "Camera : 3\r\n" + heading},
        {Event(t, 3, 9, kSideServer, 3), time + heading},
        {Event(t, 3, kSourceCamera, 0, 3), ""},
        {Event(t, 3, kSourceCamera, 3, 3), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EventPaneText(c.event), c.text) << int(c.event.side) << "/" << int(c.event.source) << "/" << c.event.actions;
}

TEST(EventText, StringsTheHostLacksShowTheirIdentifiers) {
    ScopedTz tz("UTC");
    const NoHostStrings none;
    const std::string heading = "Time : 2005-05-02 12:00:00\r\nSensor : 7\r\n\r\nAction :\r\n------------\r\n";
    const DWORD t = CTime(2005, 5, 2, 12, 0, 0).GetTime();
    EXPECT_EQ(EventPaneText(Event(t, 7, kSourceSensor, kSideServer, 3)), heading + "[string 61221][string 61222]");
    EXPECT_EQ(EventPaneText(Event(t, 7, kSourceSensor, kSideClient, 1)), heading + "[string 61224]");
}

TEST(EventText, AHostFormatThatAsksForMoreThanTheTextIsShownAsItStands) {
    TestStrings strings({{61220, "%d %s"}, {61223, "Remote %s"}});
    const std::string server = ServerMessageText(Event(0, 1, kSourceCamera, kSideServer, 1, "Gate"));
    EXPECT_EQ(server.substr(server.size() - 5), "%d %s");
    const std::string client = ClientMessageText(Event(0, 1, kSourceCamera, kSideClient, 1, "Gate"));
    EXPECT_EQ(client.substr(client.size() - 11), "Remote Gate");
}

TEST(EventText, AHostFormatOfUnboundedWidthIsShownAsItStands) {
    TestStrings strings({{61220, "%999999999s"}, {61223, "%.*s"}, {61221, "%-12s|"}});
    const std::string server = ServerMessageText(Event(0, 1, kSourceCamera, kSideServer, 1, "Gate"));
    EXPECT_EQ(server.substr(server.size() - 11), "%999999999s");
    const std::string client = ClientMessageText(Event(0, 1, kSourceCamera, kSideClient, 1, "Gate"));
    EXPECT_EQ(client.substr(client.size() - 4), "%.*s");
    const std::string sensor = ServerMessageText(Event(0, 1, kSourceSensor, kSideServer, 1, "Gate"));
    EXPECT_EQ(sensor.substr(sensor.size() - 13), "Gate" + std::string(8, ' ') + "|");
}
