#include "log2/LogJournal.h"

#include <algorithm>

#include "log2/LogFileReader.h"
#include "log2/LogTextRenderer.h"
#include "log2/LogTypeGroups.h"
#include "module/FixedText.h"

namespace {

// The most records a log's list is sized for before its first: a damaged count may be any number.
constexpr std::size_t kLogRecordsAtOnce = 256;

const TypeLabels& Labels() {
    static const TypeLabels labels = LoadTypeLabels();
    return labels;
}

std::string GroupName(int group) { return group < 0 ? std::string("none") : TypeGroupPath(Labels(), group); }

// The same, worked out once for the family rather than for each log.
const std::string& KnownGroupName(int group) {
    static const std::string none = GroupName(-1);
    return group < 0 ? none : LogJournalFamily().groupNames[static_cast<std::size_t>(group)];
}

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

// Leaves out the "\r" of `text` from `from` on.
void EraseReturns(std::string& text, std::size_t from) {
    text.erase(std::remove(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), '\r'), text.end());
}

// The lines of a log's records as the browser renders them, "\r" left out: appended to `body`
// each with its line end, and in `lines` without it.
void RenderRecords(std::span<const std::uint8_t> unit, _LOG_HEADER_& h, std::string* body,
                   std::vector<std::string>* lines) {
    thread_local CLogTextRenderer renderer;
    ByteStream in(unit);
    LogFileReader reader(in);
    // The block was read whole when it was indexed: a fault here means the file changed since,
    // and what was read of it is shown.
    reader.ReadBlock(0, h, [&](const std::uint8_t* stored) {
        const _LOG_RECORD_MEMORY_ record = logfile::DecodeRecord(stored);
        if (body) {
            const std::size_t start = body->size();
            renderer.AppendLogString(*body, record);
            EraseReturns(*body, start);
        }
        if (!lines) return;
        if (lines->empty()) lines->reserve(std::min<std::size_t>(h.recordCount, kLogRecordsAtOnce));
        // Rendered into a line that keeps its room, then copied at its size.
        thread_local std::string line;
        line.clear();
        renderer.AppendLogString(line, record);
        EraseReturns(line, 0);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines->push_back(line);
    });
}

void RenderLog(std::span<const std::uint8_t> unit, std::uint64_t offset, JournalText& out) {
    out.Clear();
    _LOG_HEADER_ h{};
    std::vector<std::string> lines;
    RenderRecords(unit, h, out.wantText ? &out.body : nullptr, out.wantFields ? &lines : nullptr);
    const std::string& group = KnownGroupName(TypeGroupOf(h.type));
    const std::string name(ReadFixedText(h.name));
    if (out.wantText) out.heading = group + ": " + name + " (result " + std::to_string(h.result) + ")";
    if (!out.wantFields) return;
    out.AddNumber("type", h.type);
    out.AddText("group", group);
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
