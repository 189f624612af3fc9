// The event browser's data: a month file loaded from a folder, its days listed, each day's
// events grouped by source and channel as the tree shows them, and every event's pane text.
#include <string>

#include "event/EventMonthData.h"
#include "event/EventText.h"
#include "fuzz/EventFuzz.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzTarget.h"

namespace {

constexpr YearMonth kMonth{2005, 4};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& folder = FuzzFolder("event");
    if (!WriteFuzzFile(MonthFilePath(folder, kMonth, eventfile::kExtension), data, size)) return 0;

    CEventMonthData month;
    month.Load(folder, kMonth);
    for (const LocalDay& day : month.Days()) month.GroupDay(day);
    for (int i = 0; i < month.Events().GetSize(); ++i) EventPaneText(month.Events()[i]);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() { return eventfuzz::Seeds(); }
