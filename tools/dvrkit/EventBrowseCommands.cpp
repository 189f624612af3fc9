// dvrkit event months|days|show: what the event browser shows, on the command line.
#include <algorithm>
#include <iostream>
#include <string>

#include "event/EventFileReader.h"
#include "event/EventJournal.h"
#include "event/EventMonthData.h"
#include "event/EventText.h"
#include "module/FixedText.h"
#include "module/HostText.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/EventMarks.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/FileBytes.h"
#include "tools/dvrkit/Journal.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct BrowseOptions : BrowseArguments {
    int source = 0;          // 0: every source
    long long channel = -1;  // -1: every channel
    JournalOptions journal;
};

// Loads the month, saying on stderr what of the file is not shown.
void LoadMonth(CEventMonthData& data, const std::string& dir, YearMonth month) {
    RequireFolder(dir);
    if (data.Load(dir, month) == EventMonthLoad::notOpened)
        throw CommandError{"no event file for that month can be read in " + dir};
    if (data.PartialBytes())
        std::cerr << "dvrkit: warning: the month file ends in a partial record (" << data.PartialBytes()
                  << " bytes); the whole records before it are shown\n";
    if (!data.BadMarks()) return;
    const std::string path = MonthFilePath(dir, month, eventfile::kExtension);
    ReportUnmarkedRecords(path, ParseEventFile(ReadFileBytes(path)));
}

std::string GroupLabel(int group) { return HostText(kEventGroups[group].label); }

void ListDays(const BrowseOptions& o) {
    CEventMonthData data;
    LoadMonth(data, o.dir, MonthArgument(o.when));
    nlohmann::json out = nlohmann::json::array();
    for (const LocalDay& d : data.Days()) {
        size_t events = 0;
        const EventDayGroups groups = data.GroupDay(d);
        for (int g = 0; g < kEventGroupCount; ++g) events += groups.Count(g);
        if (o.json) out.push_back({{"day", d.label}, {"date", CTime(d.midnight).Format("%Y-%m-%d").str()}, {"events", events}});
        else std::cout << d.label << "\n";
    }
    if (o.json) PrintJson(out);
}

nlohmann::json EventJson(const _EVENT_LOG_& e) {
    return {{"time", e.time}, {"local", LocalTimeText(e.time)}, {"channel", e.channel}, {"actions", e.actions},
            {"source", e.source}, {"side", e.side}, {"text", std::string(ReadFixedText(e.text))},
            {"pane", EventPaneText(e)}};
}

bool Wanted(const BrowseOptions& o, int group, DWORD channel) {
    return (o.source == 0 || group == EventGroupOf(static_cast<BYTE>(o.source))) &&
           (o.channel < 0 || static_cast<long long>(channel) == o.channel);
}

// The day as the window's event tree shows it: each group with its count, each channel of the day
// with its count, each event's time.
void ShowDay(const BrowseOptions& o) {
    CEventMonthData data;
    const YearMonthDay day = DayArgument(o.when);
    LoadMonth(data, o.dir, {day.year, day.month});
    const EventDayGroups groups = data.GroupDay(DayOf(day));
    nlohmann::json out = nlohmann::json::array();
    for (int g = 0; g < kEventGroupCount; ++g) {
        nlohmann::json channels = nlohmann::json::array();
        std::string text;
        size_t total = 0;
        for (const EventChannel& c : groups.channels[g]) {
            if (!Wanted(o, g, c.channel)) continue;
            nlohmann::json events = nlohmann::json::array();
            const std::string label = CountedLabel(ChannelLabel(c.channel), c.events.size());
            text += "-- " + label + "\n";
            for (const int index : c.events) {
                const _EVENT_LOG_& e = data.Events()[index];
                events.push_back(EventJson(e));
                text += CTime(e.time).Format("%H:%M:%S").str() + " " + ShownText(ReadFixedText(e.text)) + "\n";
            }
            total += c.events.size();
            channels.push_back({{"channel", c.channel}, {"label", label}, {"count", c.events.size()}, {"events", events}});
        }
        const bool shown = kEventGroups[g].inDefaultTree || total > 0;
        if (!shown || (total == 0 && (o.source != 0 || o.channel >= 0))) continue;
        const std::string label = CountedLabel(GroupLabel(g), total);
        if (o.json) out.push_back({{"group", GroupLabel(g)}, {"label", label}, {"count", total}, {"channels", channels}});
        else std::cout << "== " << label << "\n" << text;
    }
    if (o.json) PrintJson(out);
}

}  // namespace

void AddEventBrowseCommands(CLI::App& event) {
    static BrowseOptions o;
    static const JournalSource source{EventJournalFamily(), ReportUnmarkedRecords};
    AddMonthsCommand(event, eventfile::kExtension, "List the months that have an event file, newest first",
                     "Event folder");
    AddBrowseCommand(event, "days", "List the days of a month that have events, latest first", "Event folder", "MONTH", o)
        ->callback([] { ListDays(o); });
    CLI::App* show = AddShowCommand(
        event,
        "Show events: one DAY by source group and channel as the event browser lists them, or with a range, --grep, "
        "--type, --reverse, -n, --output or another option below (or no DAY) every event in time order, oldest first",
        "Event folder", "Print one day as JSON: each event's fields and the text the browser's pane shows for it",
        o.journal, source, [] {
            if (!o.journal.type.empty()) return ShowJournal(o.journal, source);
            o.dir = o.journal.dir;
            o.when = o.journal.day;
            o.json = o.journal.dayJson;
            ShowDay(o);
        });
    show->add_option("--source", o.source, "Only this source: 1 camera, 2 sensor")->check(CLI::Range(1, 2));
    show->add_option("--channel", o.channel, "Only this channel")->check(CLI::Range(0LL, 4294967295LL));
    AddFollowCommand(event, "event", "Event folder", o.journal, source);
}
