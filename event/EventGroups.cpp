#include "event/EventGroups.h"

#include "platform/core/CString.h"

int EventGroupOf(BYTE source) {
    for (int g = 0; g < kEventGroupCount; ++g)
        if (kEventGroups[g].source == source) return g;
    return kEventGroupCount - 1;
}

std::string ChannelLabel(DWORD channel) {
    CString label;
    label.Format("Ch%02u", static_cast<unsigned>(channel));
    return label.str();
}

std::string CountedLabel(const std::string& label, size_t count) {
    CString text;
    text.Format("%s (%02zu)", label.c_str(), count);
    return text.str();
}
