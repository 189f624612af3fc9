#pragma once
// The first-generation month file as the month-file engine scans and appends it: 168-byte entries
// and no header. The file has no mark of its own, and the second-generation log names its files
// "YYYYMM.log" too, so a file is taken for a first-generation one only while its first entry (and
// any part of one after the last whole entry) is plausible: name and text each a zero-terminated
// text with nothing but zeros after it, the padding zero, and, where the file's name gives its
// month, a time in that month. A whole entry past the first is part of the file as it stands.
#include "module/MonthFileUnits.h"

const MonthFileUnits& EntryFileUnits();
// The same family, handing each whole entry to `onEntry` as the scan reads it.
MonthFileUnits EntryFileUnitsReading(OnWholeUnit onEntry);
