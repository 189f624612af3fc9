#include "module/MonthFile.h"

#include <cstring>

#include "platform/core/CTime.h"

namespace {

// Appends `value` as exactly `digits` decimal digits (leading zeros).
void AppendDigits(std::string& out, int value, int digits) {
    char text[8];
    for (int i = digits - 1; i >= 0; --i, value /= 10) text[i] = static_cast<char>('0' + value % 10);
    out.append(text, static_cast<size_t>(digits));
}

}  // namespace

CString MonthFileName(const char* folder, DWORD time, const char* extension) {
    // Built by hand rather than through printf: writers name a file on every append.
    const std::tm local = CTime(time).GetLocalTm();
    std::string name;
    name.reserve(std::strlen(folder) + std::strlen(extension) + 9);
    name.append(folder).push_back('/');
    AppendDigits(name, local.tm_year + 1900, 4);
    AppendDigits(name, local.tm_mon + 1, 2);
    name.append(".").append(extension);
    return CString(std::move(name));
}
