#include "platform/core/PrintfSignature.h"

#include <cstring>

namespace {

bool SkipDigitsOrStar(const char*& p, std::string& kinds) {
    if (*p == '*') {
        kinds += 'i';
        ++p;
        return true;
    }
    while (*p >= '0' && *p <= '9') ++p;
    return *p != '$';  // positional arguments are not supported
}

}  // namespace

std::optional<std::string> PrintfSignature(const char* format) {
    std::string kinds;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0'", *p)) ++p;
        if (!SkipDigitsOrStar(p, kinds)) return std::nullopt;
        if (*p == '.') {
            ++p;
            if (!SkipDigitsOrStar(p, kinds)) return std::nullopt;
        }
        // 'h' and 'hh' narrow an int that is promoted anyway; wider modifiers are refused.
        while (*p == 'h') ++p;
        if (*p && std::strchr("diuxXoc", *p)) {
            kinds += 'i';
        } else if (*p == 's') {
            kinds += 's';
        } else {
            return std::nullopt;
        }
    }
    return kinds;
}
