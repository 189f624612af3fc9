#include "log2/LogJournal.h"

#include <algorithm>

#include "log2/LogFileReader.h"
#include "log2/LogTextRenderer.h"
#include "log2/LogTypeGroups.h"
#include "module/FixedText.h"

namespace {

const TypeLabels& Labels() {
    static const TypeLabels labels = LoadTypeLabels();
    return labels;
}

std::string GroupName(int group) { return group < 0 ? std::string("none") : TypeGroupPath(Labels(), group); }

JournalKeys LogKeys(std::span<const std::uint8_t> unit) {
    JournalKeys keys;
    if (unit.size() < logfile::kLogHeaderSize) return keys;
    const _LOG_HEADER_ h = logfile::DecodeLogHeader(unit.data());
    keys.time = h.handle;
    keys.type = h.type;
    keys.group = TypeGroupOf(h.type);
    if (keys.group >= 0) keys.parentGroup = kLogTypeGroups[keys.group].parent;
    return keys;
}

void RenderLog(std::span<const std::uint8_t> unit, std::uint64_t offset, JournalText& out) {
    out.Clear();
    thread_local CLogTextRenderer renderer;
    ByteStream in(unit);
    LogFileReader reader(in);
    _LOG_HEADER_ h{};
    std::vector<std::string> lines;
    // The block was read whole when it was indexed: a fault here means the file changed since,
    // and what was read of it is shown.
    reader.ReadBlock(0, h, [&](const std::uint8_t* record) {
        std::string line = renderer.GetLogString(logfile::DecodeRecord(record)).str();
        std::erase(line, '\r');
        out.body += line;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(std::move(line));
    });
    const int group = TypeGroupOf(h.type);
    const std::string name(ReadFixedText(h.name));
    out.heading = GroupName(group) + ": " + name + " (result " + std::to_string(h.result) + ")";
    out.AddNumber("type", h.type);
    out.AddText("group", GroupName(group));
    out.AddText("name", name);
    out.AddNumber("result", h.result);
    out.AddNumber("endTime", h.endTime);
    out.AddNumber("offset", static_cast<std::int64_t>(offset));
    out.AddList("records", std::move(lines));
}

JournalFamily MakeFamily() {
    std::vector<std::string> names;
    for (int g = 0; g < kLogTypeGroupCount; ++g) names.push_back(GroupName(g));
    return {logfile::kExtension, &LogFileUnits(), nullptr, std::move(names), logfile::kLogHeaderSize, LogKeys, RenderLog};
}

}  // namespace

const JournalFamily& LogJournalFamily() {
    static const JournalFamily family = MakeFamily();
    return family;
}
