#pragma once
// The shared time helper: the file of the local month of a time, as the writers and the
// browsers name it.
#include "platform/core/CString.h"
#include "platform/core/Types.h"

// "FOLDER/YYYYMM.EXT" for the local year and month of `time`.
CString MonthFileName(const char* folder, DWORD time, const char* extension);
