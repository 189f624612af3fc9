#pragma once
// An entry of the first-generation browser's loaded month.
#include <cstdint>

#include "log1/EntryRecord.h"

// The stored record (its day is found from its time when the days are listed), with what names
// it among entries that look alike.
struct CLogRecordItem : _LOG_RECORD_V1_ {
    // Its place in the file when the month was loaded, counted from 1: it names the entry to the
    // browser's items for as long as the month stays loaded.
    DWORD serial = 0;
    // Where it starts in the month file now.
    std::uint64_t offset = 0;
};
