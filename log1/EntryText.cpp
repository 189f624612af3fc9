#include "log1/EntryText.h"

#include <string_view>

#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/CTime.h"

namespace {

std::string TimeText(DWORD time) { return CTime(time).Format("%Y-%m-%d %H:%M:%S").str(); }

std::string Line(UINT label, std::string_view value) {
    return HostText(label) + std::string(value) + "\r\n";
}

}  // namespace

std::string EntryTypeLabel(DWORD type) {
    return type < entryfile::kTypeCount ? HostText(host::kEntryTypeLabels[type]) : std::string();
}

std::string CountedTypeLabel(DWORD type, size_t count) {
    return EntryTypeLabel(type) + " (" + std::to_string(count) + ")";
}

std::string EntryPaneText(const _LOG_RECORD_V1_& entry) {
    return Line(host::kStartTimeLabel, TimeText(entry.time)) +
           Line(host::kEndTimeLabel, entry.updateTime ? TimeText(entry.updateTime) : "") +
           Line(host::kNameLabel, ReadFixedText(entry.name)) +
           Line(host::kTypeLabel, EntryTypeLabel(entry.type)) +
           Line(host::kFlagLabel, HostText(entry.flag ? host::kFlagSetText : host::kFlagClearText)) +
           Line(host::kRecordsHeading, ReadFixedText(entry.text));
}
