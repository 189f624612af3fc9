#include "log1/EntryText.h"

#include <string_view>

#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"

std::string EntryTypeLabel(DWORD type) {
    return type < entryfile::kTypeCount ? HostText(host::kEntryTypeLabels[type]) : std::string();
}

std::string CountedTypeLabel(DWORD type, size_t count) {
    return EntryTypeLabel(type) + " (" + std::to_string(count) + ")";
}

const std::string& EntryTextRenderer::Text(UINT id) {
    auto [it, added] = m_texts.try_emplace(id);
    if (added) it->second = HostText(id);
    return it->second;
}

void EntryTextRenderer::AppendLine(std::string& out, UINT label, std::string_view value) {
    out += Text(label);
    out += value;
    out += "\r\n";
}

void EntryTextRenderer::AppendTimeLine(std::string& out, UINT label, DWORD time) {
    char text[LocalTimeTexts::kSize];
    AppendLine(out, label, {text, m_times.DateTime(text, time)});
}

void EntryTextRenderer::AppendPaneText(std::string& out, const _LOG_RECORD_V1_& entry) {
    AppendTimeLine(out, host::kStartTimeLabel, entry.time);
    if (entry.updateTime) AppendTimeLine(out, host::kEndTimeLabel, entry.updateTime);
    else AppendLine(out, host::kEndTimeLabel, "");
    AppendLine(out, host::kNameLabel, ReadFixedText(entry.name));
    AppendLine(out, host::kTypeLabel,
               entry.type < entryfile::kTypeCount ? Text(host::kEntryTypeLabels[entry.type]) : std::string_view());
    AppendLine(out, host::kFlagLabel, Text(entry.flag ? host::kFlagSetText : host::kFlagClearText));
    AppendLine(out, host::kRecordsHeading, ReadFixedText(entry.text));
}

std::string EntryPaneText(const _LOG_RECORD_V1_& entry) {
    std::string out;
    EntryTextRenderer().AppendPaneText(out, entry);
    return out;
}
