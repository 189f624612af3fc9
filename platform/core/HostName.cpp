#include "platform/core/HostName.h"

#include <unistd.h>

CString GetLocalHostName() {
    char name[81] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return CString(name);
}

bool IsPlainHostName(const CString& name) {
    return !name.IsEmpty() && name.str().find_first_not_of(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") == std::string::npos;
}
