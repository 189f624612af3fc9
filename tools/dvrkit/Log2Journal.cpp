// A log folder as a journal: one entry per log, its records' texts below it.
#include <algorithm>

#include "log1/EntryFileUnits.h"
#include "log2/LogFileReader.h"
#include "log2/LogTextRenderer.h"
#include "log2/LogTypeGroups.h"
#include "module/FixedText.h"
#include "tools/dvrkit/Journal.h"
#include "tools/dvrkit/MonthFileInput.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

std::string GroupName(const TypeLabels& labels, int group) {
    return group < 0 ? std::string("none") : TypeGroupPath(labels, group);
}

std::vector<JournalEntry> ReadLogs(const std::string& path, std::uint64_t& tornBytes) {
    const MonthFileInput input = ReadMonthFileInput(path, LogFileUnits());
    RefuseDamage(input, LogFileUnits(), &EntryFileUnits());
    tornBytes = input.scan.tornBytes;
    const LogFileContents contents = ParseLogFile(input.bytes);
    static const TypeLabels labels = LoadTypeLabels();
    CLogTextRenderer renderer;
    std::vector<JournalEntry> entries;
    for (const LogBlock& block : contents.blocks) {
        const _LOG_HEADER_& h = block.header;
        JournalEntry e;
        e.time = h.handle;
        e.type = h.type;
        e.group = TypeGroupOf(h.type);
        if (e.group >= 0) e.parentGroup = kLogTypeGroups[e.group].parent;
        const std::string name(ReadFixedText(h.name));
        e.heading = GroupName(labels, e.group) + ": " + name + " (result " + std::to_string(h.result) + ")";
        nlohmann::json lines = nlohmann::json::array();
        for (const auto& record : block.records) {
            std::string line = renderer.GetLogString(record).str();
            std::erase(line, '\r');
            e.body += line;
            if (!line.empty() && line.back() == '\n') line.pop_back();
            lines.push_back(line);
        }
        e.json = {{"type", h.type}, {"group", GroupName(labels, e.group)}, {"name", name}, {"result", h.result},
                  {"endTime", h.endTime}, {"offset", block.offset}, {"records", lines}};
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace

JournalSource Log2JournalSource() {
    const TypeLabels labels = LoadTypeLabels();
    std::vector<std::string> names;
    for (int g = 0; g < kLogTypeGroupCount; ++g) names.push_back(TypeGroupPath(labels, g));
    return {logfile::kExtension, names, ReadLogs};
}
