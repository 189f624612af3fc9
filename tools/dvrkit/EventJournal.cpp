// An event folder as a journal: one entry per event, the text the browser's pane shows below it.
#include <algorithm>

#include "event/EventFileReader.h"
#include "event/EventGroups.h"
#include "event/EventText.h"
#include "module/FixedText.h"
#include "module/HostText.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/EventMarks.h"
#include "tools/dvrkit/Journal.h"
#include "tools/dvrkit/MonthFileInput.h"

namespace {

std::string GroupName(int group) { return HostText(kEventGroups[group].label); }

std::vector<JournalEntry> ReadEvents(const std::string& path, std::uint64_t& tornBytes) {
    const MonthFileInput input = ReadMonthFileInput(path, EventFileUnits());
    RefuseDamage(input, EventFileUnits());
    const EventFileContents contents = ParseEventFile(input.bytes);
    tornBytes = input.scan.tornBytes;
    ReportUnmarkedRecords(path, contents);
    std::vector<JournalEntry> entries;
    for (const EventFileEntry& record : contents.records) {
        if (!record.valid) continue;
        const _EVENT_LOG_& ev = record.event;
        JournalEntry e;
        e.time = ev.time;
        e.type = ev.source;
        e.group = EventGroupOf(ev.source);
        const std::string text(ReadFixedText(ev.text));
        e.heading = GroupName(e.group) + " " + ChannelLabel(ev.channel) + ": side " + std::to_string(ev.side) +
                    ", actions " + std::to_string(ev.actions) + (text.empty() ? "" : ", text " + text);
        std::string pane = EventPaneText(ev);
        std::erase(pane, '\r');
        // The pane's first line repeats the time.
        e.body = pane.substr(std::min(pane.find('\n') + 1, pane.size()));
        e.json = {{"source", ev.source}, {"group", GroupName(e.group)}, {"channel", ev.channel},
                  {"side", ev.side}, {"actions", ev.actions}, {"text", text}, {"offset", record.offset}};
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace

JournalSource EventJournalSource() {
    std::vector<std::string> names;
    for (int g = 0; g < kEventGroupCount; ++g) names.push_back(GroupName(g));
    return {eventfile::kExtension, names, ReadEvents};
}
