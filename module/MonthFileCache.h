#pragma once
// The month file of a time, remembered for the rest of its month: a writer names a file on every
// append, and nearly every append falls in the month of the one before. The month's bounds are
// taken in the zone in force when the month is first named.
#include <cstdint>
#include <string>

#include "platform/core/CString.h"
#include "platform/core/Types.h"

class MonthFileCache {
public:
    explicit MonthFileCache(const char* extension) : m_extension(extension) {}

    // FOLDER/YYYYMM.EXT for the local month of `time`; valid until the next call.
    const CString& Name(const std::string& folder, DWORD time);

private:
    const char* m_extension;
    std::string m_folder;
    std::int64_t m_start = 0, m_end = 0;  // [start, end) of the remembered month, in seconds
    CString m_name;
};
