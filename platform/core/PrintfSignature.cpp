#include "platform/core/PrintfSignature.h"

#include <algorithm>
#include <cstring>

namespace {

// Skips a width or precision: false when it is positional or larger than `maxField`.
bool SkipDigitsOrStar(const char*& p, std::string& kinds, int maxField) {
    if (*p == '*') {
        kinds += 'i';
        ++p;
        return maxField == INT_MAX;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = std::min<long long>(value * 10 + (*p - '0'), INT_MAX + 1LL);
    return *p != '$' && value <= maxField;  // positional arguments are not supported
}

}  // namespace

std::optional<std::string> PrintfSignature(const char* format, int maxField) {
    std::string kinds;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0'", *p)) ++p;
        if (!SkipDigitsOrStar(p, kinds, maxField)) return std::nullopt;
        if (*p == '.') {
            ++p;
            if (!SkipDigitsOrStar(p, kinds, maxField)) return std::nullopt;
        }
        // 'h' and 'hh' narrow an int that is promoted anyway; wider modifiers are refused. A third
        // 'h' is not a modifier to the C library but an unknown conversion, which sends it down
        // its positional path, where the arguments are read by other rules.
        for (int h = 0; h < 2 && *p == 'h'; ++h) ++p;
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
