#include "event/EventGroups.h"

#include "platform/core/CString.h"

int EventGroupOf(BYTE source) {
    for (int g = 0; g < kEventGroupCount; ++g)
        if (kEventGroups[g].source == source) return g;
    return kEventGroupCount - 1;
}

std::string ChannelLabel(DWORD channel) {
    // "Ch%02u", without a formatted print for each of a month's events.
    return (channel < 10 ? "Ch0" : "Ch") + std::to_string(channel);
}

std::string CountedLabel(const std::string& label, size_t count) {
    CString text;
    text.Format("%s (%02zu)", label.c_str(), count);
    return text.str();
}
