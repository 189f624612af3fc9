// dvrkit event months|days|show: what the event browser shows, on the command line.
#include <iostream>
#include <string>

#include "event/EventMonthData.h"
#include "event/EventText.h"
#include "module/FixedText.h"
#include "platform/core/CString.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct BrowseOptions : BrowseArguments {
    int source = 0;          // 0: every source
    long long channel = -1;  // -1: every channel
};

// Loads the month, saying on stderr what of the file could not be shown.
void LoadMonth(CEventMonthData& data, const std::string& dir, YearMonth month) {
    if (data.Load(dir, month) == EventMonthLoad::notOpened)
        throw CommandError{"no event file for that month can be read in " + dir};
    if (data.PartialBytes())
        std::cerr << "dvrkit: warning: the month file ends in a partial record (" << data.PartialBytes()
                  << " bytes); the whole records before it are shown\n";
    if (data.BadMarks()) std::cerr << "dvrkit: warning: " << data.BadMarks() << " records with a bad mark skipped\n";
}

std::string GroupLabel(int group) {
    CString label;
    label.LoadString(kEventGroups[group].label);
    return label.str();
}

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
                text += CTime(e.time).Format("%H:%M:%S").str() + "\n";
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
    AddMonthsCommand(event, eventfile::kExtension, "List the months that have an event file, newest first",
                     "Event folder");
    AddBrowseCommand(event, "days", "List the days of a month that have events, latest first", "Event folder", "MONTH", o)
        ->callback([] { ListDays(o); });
    CLI::App* show = AddBrowseCommand(
        event, "show", "Show the events of a day by source group and channel, as the event browser lists them",
        "Event folder", "DAY", o);
    show->add_option("--source", o.source, "Only this source: 1 camera, 2 sensor")->check(CLI::Range(1, 2));
    show->add_option("--channel", o.channel, "Only this channel")->check(CLI::Range(0LL, 4294967295LL));
    show->get_option("--json")->description("Print JSON: each event's fields and the text the browser's pane shows for it");
    show->callback([] { ShowDay(o); });
}
