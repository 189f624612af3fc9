#pragma once
// The words of the first-generation log, all from the host's string table: the labels of the
// five entry types (also the text of an entry saved without one, and the type tree's branches),
// and the six-line text the browser's pane shows for an entry.
#include <string>
#include <string_view>
#include <unordered_map>

#include "log1/EntryRecord.h"
#include "platform/core/LocalTimeTexts.h"

// The label of type 0 to 4; empty for any other type.
std::string EntryTypeLabel(DWORD type);
// "System (3)": a type branch's label with the count of the chosen day's entries under it.
std::string CountedTypeLabel(DWORD type, size_t count);

// The entry's six lines, each ended by CR LF: time, update time (its label alone while 0), name,
// type, flag, text; each line starts with its label.
std::string EntryPaneText(const _LOG_RECORD_V1_& entry);

// The same lines of many entries, with no look-up per entry: host strings looked up once per
// renderer, and local times converted without a look-up of the zone for each.
class EntryTextRenderer {
public:
    void AppendPaneText(std::string& out, const _LOG_RECORD_V1_& entry);

private:
    const std::string& Text(UINT id);
    void AppendLine(std::string& out, UINT label, std::string_view value);
    void AppendTimeLine(std::string& out, UINT label, DWORD time);

    std::unordered_map<UINT, std::string> m_texts;
    LocalTimeTexts m_times;
};
