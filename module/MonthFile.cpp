#include "module/MonthFile.h"

#include "platform/core/CTime.h"

CString MonthFileName(const char* folder, DWORD time, const char* extension) {
    const CTime t(time);
    CString name;
    name.Format("%s/%04d%02d.%s", folder, t.GetYear(), t.GetMonth(), extension);
    return name;
}
