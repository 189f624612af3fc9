#pragma once
// The words of the first-generation log, all from the host's string table: the labels of the
// five entry types (also the text of an entry saved without one, and the type tree's branches),
// and the six-line text the browser's pane shows for an entry.
#include <string>

#include "log1/EntryRecord.h"

// The label of type 0 to 4; empty for any other type.
std::string EntryTypeLabel(DWORD type);
// "System (3)": a type branch's label with the count of the chosen day's entries under it.
std::string CountedTypeLabel(DWORD type, size_t count);

// The entry's six lines, each ended by CR LF: time, update time (its label alone while 0), name,
// type, flag, text; each line starts with its label.
std::string EntryPaneText(const _LOG_RECORD_V1_& entry);
