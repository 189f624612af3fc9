#pragma once
// The shared time helpers: the file of the local month of a time, as the writers and the
// browsers name it, and the local-month key those files are grouped by.
#include "platform/core/CString.h"
#include "platform/core/Types.h"

// "FOLDER/YYYYMM.EXT" for the local year and month of `time`.
CString MonthFileName(const char* folder, DWORD time, const char* extension);
