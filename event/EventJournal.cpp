#include "event/EventJournal.h"

#include <algorithm>

#include "event/EventFileReader.h"
#include "event/EventGroups.h"
#include "event/EventText.h"
#include "module/FixedText.h"
#include "module/HostText.h"

namespace {

std::string GroupName(int group) { return HostText(kEventGroups[group].label); }

JournalKeys EventKeys(std::span<const std::uint8_t> unit) {
    JournalKeys keys;
    if (unit.size() < eventfile::kRecordSize) return keys;
    const _EVENT_LOG_ ev = eventfile::DecodeEvent(unit.data());
    keys.time = ev.time;
    keys.type = ev.source;
    keys.group = EventGroupOf(ev.source);
    keys.channel = static_cast<int>(ev.channel);
    keys.shown = ev.mark == eventfile::kMark;
    return keys;
}

void RenderEvent(std::span<const std::uint8_t> unit, std::uint64_t offset, JournalText& out) {
    out.Clear();
    if (unit.size() < eventfile::kRecordSize) return;
    const _EVENT_LOG_ ev = eventfile::DecodeEvent(unit.data());
    const std::string& group = EventJournalFamily().groupNames[static_cast<std::size_t>(EventGroupOf(ev.source))];
    const std::string text(ReadFixedText(ev.text));
    if (out.wantText) {
        out.heading = group + " " + ChannelLabel(ev.channel) + ": side " + std::to_string(ev.side) + ", actions " +
                      std::to_string(ev.actions) + (text.empty() ? "" : ", text " + text);
        thread_local EventTextRenderer renderer;
        thread_local std::string pane;
        pane.clear();
        renderer.AppendPaneText(pane, ev);
        AppendPaneBody(out.body, pane);
    }
    if (!out.wantFields) return;
    out.AddNumber("source", ev.source);
    out.AddText("group", group);
    out.AddNumber("channel", ev.channel);
    out.AddNumber("side", ev.side);
    out.AddNumber("actions", ev.actions);
    out.AddText("text", text);
    out.AddNumber("offset", static_cast<std::int64_t>(offset));
}

JournalFamily MakeFamily() {
    std::vector<std::string> names;
    for (int g = 0; g < kEventGroupCount; ++g) names.push_back(GroupName(g));
    return {eventfile::kExtension, &EventFileUnits(), nullptr, std::move(names), eventfile::kRecordSize, EventKeys, RenderEvent};
}

}  // namespace

const JournalFamily& EventJournalFamily() {
    static const JournalFamily family = MakeFamily();
    return family;
}
