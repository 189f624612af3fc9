// A small host of the library, built against the installed package: it writes a log with two
// records and two events into a folder, as a recorder's application does, then reads the month
// back with the browsers' data cores and prints what the browsers would list. It exits 0 only
// when everything it wrote was read back.
//
//     dvrkit-example-host FOLDER
#include <dvrkit/event/CEventManager.h>
#include <dvrkit/event/EventMonthData.h>
#include <dvrkit/log2/CLogManager2.h>
#include <dvrkit/log2/LogMonthData.h>
#include <dvrkit/platform/core/CTime.h>

#include <iostream>
#include <string>

namespace {

int Fail(const std::string& why) {
    std::cerr << "dvrkit-example-host: " << why << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: dvrkit-example-host FOLDER");
    const std::string folder = argv[1];

    CLogManager2 logs;
    logs.Init(folder.c_str());
    const DWORD log = logs.CreateLog("Example host", 1);
    logs.AddLogRecord2(log, 1, 1, 0, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, nullptr, nullptr);
    logs.AddLogRecord2(log, 1, 4, 2, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, "admin", nullptr);
    if (!logs.UpdateLog(log, 1)) return Fail("the log was not written to " + folder);

    CEventManager events;
    events.Init(folder.c_str());
    const DWORD now = CTime::GetCurrentTime().GetTime();
    events.AddEventLog(3, 1, 1, now, 1, "Front door");
    events.AddEventLog(5, 2, 2, now, 1, "Garage");

    const CTime written(log);
    const YearMonth month{written.GetYear(), written.GetMonth()};
    CLogMonthData logMonth;
    if (logMonth.Load(folder, month) != LogMonthLoad::loaded) return Fail("the log month could not be read back");
    CEventMonthData eventMonth;
    if (eventMonth.Load(folder, YearMonth{CTime(now).GetYear(), CTime(now).GetMonth()}) != EventMonthLoad::loaded)
        return Fail("the event month could not be read back");

    const int logCount = logMonth.Logs().GetSize(), recordCount = logMonth.Records().GetSize();
    const int eventCount = eventMonth.Events().GetSize();
    std::cout << "logs " << logCount << ", records " << recordCount << ", events " << eventCount << ", days "
              << logMonth.Days().size() << "\n";
    return logCount == 1 && recordCount == 2 && eventCount == 2 ? 0 : Fail("what was read back differs");
}
