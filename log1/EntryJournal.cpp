#include "log1/EntryJournal.h"

#include <algorithm>

#include "log1/EntryFileUnits.h"
#include "log1/EntryRecord.h"
#include "log1/EntryText.h"
#include "module/FixedText.h"

namespace {

JournalKeys EntryKeys(std::span<const std::uint8_t> unit) {
    JournalKeys keys;
    if (unit.size() < entryfile::kRecordSize) return keys;
    const _LOG_RECORD_V1_ stored = entryfile::DecodeEntry(unit.data());
    keys.time = stored.time;
    keys.type = keys.group = static_cast<int>(std::min<DWORD>(stored.type, 0x7FFFFFFF));
    keys.shown = stored.type < entryfile::kTypeCount;
    return keys;
}

// A type's label, as the family's table holds it: not looked up for each entry.
const std::string& LabelOf(DWORD type) {
    static const std::string none;
    const auto& names = EntryJournalFamily().groupNames;
    return type < names.size() ? names[type] : none;
}

void RenderEntry(std::span<const std::uint8_t> unit, std::uint64_t offset, JournalText& out) {
    out.Clear();
    if (unit.size() < entryfile::kRecordSize) return;
    const _LOG_RECORD_V1_ stored = entryfile::DecodeEntry(unit.data());
    const std::string name(ReadFixedText(stored.name)), text(ReadFixedText(stored.text));
    const std::string& label = LabelOf(stored.type);
    if (out.wantText) {
        out.heading = label + ": " + name + ": " + text;
        thread_local EntryTextRenderer renderer;
        thread_local std::string pane;
        pane.clear();
        renderer.AppendPaneText(pane, stored);
        AppendPaneBody(out.body, pane);
    }
    if (!out.wantFields) return;
    out.AddNumber("type", stored.type);
    out.AddText("label", label);
    out.AddText("name", name);
    out.AddNumber("updateTime", stored.updateTime);
    out.AddNumber("flag", stored.flag);
    out.AddText("text", text);
    out.AddNumber("offset", static_cast<std::int64_t>(offset));
}

JournalFamily MakeFamily() {
    std::vector<std::string> names;
    for (DWORD type = 0; type < entryfile::kTypeCount; ++type) names.push_back(EntryTypeLabel(type));
    return {entryfile::kExtension, &EntryFileUnits(), nullptr, std::move(names), entryfile::kRecordSize, EntryKeys, RenderEntry,
            entryfile::kUpdateTimeOffset, sizeof(std::uint32_t)};
}

}  // namespace

const JournalFamily& EntryJournalFamily() {
    static const JournalFamily family = MakeFamily();
    return family;
}
