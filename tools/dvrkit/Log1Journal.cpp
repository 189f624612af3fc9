// A first-generation folder as a journal: one entry per stored entry, the browser's pane below it.
#include <algorithm>

#include "log1/EntryFileUnits.h"
#include "log1/EntryRecord.h"
#include "log1/EntryText.h"
#include "log2/LogFileReader.h"
#include "module/FixedText.h"
#include "tools/dvrkit/Journal.h"
#include "tools/dvrkit/MonthFileInput.h"

namespace {

std::vector<JournalEntry> ReadEntries(const std::string& path, std::uint64_t& tornBytes) {
    const MonthFileInput input = ReadMonthFileInput(path, EntryFileUnits());
    RefuseDamage(input, EntryFileUnits(), &LogFileUnits());
    const auto& bytes = input.bytes;
    tornBytes = input.scan.tornBytes;
    std::vector<JournalEntry> entries;
    for (size_t offset = 0; offset + entryfile::kRecordSize <= bytes.size(); offset += entryfile::kRecordSize) {
        const _LOG_RECORD_V1_ stored = entryfile::DecodeEntry(bytes.data() + offset);
        if (stored.type >= entryfile::kTypeCount) continue;  // the browser never loads these
        JournalEntry e;
        e.time = stored.time;
        e.type = e.group = static_cast<int>(stored.type);
        const std::string name(ReadFixedText(stored.name)), text(ReadFixedText(stored.text));
        e.heading = EntryTypeLabel(stored.type) + ": " + name + ": " + text;
        std::string pane = EntryPaneText(stored);
        std::erase(pane, '\r');
        e.body = pane.substr(std::min(pane.find('\n') + 1, pane.size()));  // after the time's line
        e.json = {{"type", stored.type}, {"label", EntryTypeLabel(stored.type)}, {"name", name},
                  {"updateTime", stored.updateTime}, {"flag", stored.flag}, {"text", text}, {"offset", offset}};
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace

JournalSource Log1JournalSource() {
    std::vector<std::string> names;
    for (DWORD type = 0; type < entryfile::kTypeCount; ++type) names.push_back(EntryTypeLabel(type));
    return {entryfile::kExtension, names, ReadEntries};
}
