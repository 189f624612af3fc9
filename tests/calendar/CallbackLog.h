#pragma once
// What a calendar's three callbacks receive, in the order they are called.
#include <string>
#include <vector>

#include "platform/core/CTime.h"

inline std::string Iso(CTime t) { return t.Format("%Y-%m-%d").str(); }

struct Calls {
    std::vector<std::string> order;
    int veto = 0;  // the verbose-index callback's answer
};

// Registers callbacks on a calendar (the model or the window) that log into `calls`.
template <typename Calendar>
void Record(Calendar& calendar, Calls& calls) {
    calendar.SetCBSelectDay([&calls](CTime day) { calls.order.push_back("day " + Iso(day)); });
    calendar.SetCBVerboseIndex([&calls](int year, int month) {
        calls.order.push_back("verbose " + std::to_string(year) + "-" + std::to_string(month));
        return calls.veto;
    });
    calendar.SetCBChangedMonth([&calls](CTime day, int a, int b) {
        calls.order.push_back("month " + Iso(day) + " " + std::to_string(a) + " " + std::to_string(b));
    });
}
