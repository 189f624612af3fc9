#include "tools/dvrkit/DemoMonth.h"

#include <atomic>
#include <filesystem>
#include <vector>

#include "event/CEventManager.h"
#include "log1/CLogManager.h"
#include "log2/CLogManager2.h"
#include "log2/LogFileFormat.h"
#include "module/MonthFile.h"
#include "platform/core/CTime.h"

namespace {

std::atomic<DWORD> g_demoNow{0};
DWORD DemoClock() { return g_demoNow.load(); }

struct DemoRecord {
    BYTE category, code, format;
    DWORD v1, v2, v3, v4;
    const char* text1;
    const char* text2;
};

struct DemoLog {
    BYTE type;
    const char* name;
    int hour, minute;      // local start time
    int durationSeconds;   // how long the log stays open
    std::vector<DemoRecord> records;
};

constexpr DWORD N = LOG_VALUE_NONE;

// One day's logs; `when` is a time of that day, so that time-valued records point at it.
std::vector<DemoLog> DayLogs(int day, DWORD when) {
    std::vector<DemoLog> logs = {
        {1, "Power on", 7, 58, 40, {{1, 1, 0, N, N, N, N, nullptr, nullptr}, {1, 4, 2, N, N, N, N, "admin", nullptr}}},
        {2, "Search", 9, 12, 300, {{1, 1, 1, 0x0005, when - 3600, N, N, nullptr, nullptr},
                                   {2, 1, 1, 3, when - 1800, N, N, nullptr, nullptr},
                                   {2, 2, 1, 3, when - 1500, N, N, nullptr, nullptr}}},
        {3, "Record setup", 10, 5, 95, {{2, 3, 1, 5, N, N, N, nullptr, nullptr},
                                        {1, 1, 2, N, N, N, N, "CAM 1", "Front door"},
                                        {2, 2, 1, 1, N, N, N, nullptr, nullptr},
                                        {2, 1, 1, 0x000F, N, N, N, nullptr, nullptr},
                                        {2, 10, 1, 2, 50, 60, 55, nullptr, nullptr}}},
        {4, "Remote login", 12, 30, 20, {{1, 4, 2, N, N, N, N, "remote", nullptr}, {2, 7, 0, N, N, N, N, nullptr, nullptr}}},
        {5, "Remote playback", 13, 45, 600, {{2, 1, 1, 7, when - 7200, N, N, nullptr, nullptr}}},
        {6, "Remote setup", 14, 10, 45, {{5, 9, 2, 8000, 1, N, N, "192.168.0.10", "admin"},
                                         {8, 5, 2, 80, 8080, 8081, N, "dvr.example.net", "http"},
                                         {7, 7, 2, 2, N, N, N, "alarm@example.net", "A"}}},
        // The host's text table has no record texts for type 7: such a log is listed, and holds
        // no records, which could only show the fallback text.
        {7, "Maintenance", 16, 0, 15, {}},
        {8, "Disk check", 18, 20, 10, {{1, 1, 1, 1, static_cast<DWORD>(42 + day), N, N, nullptr, nullptr},
                                       {1, 2, 2, 2, N, N, N, "disk 2 timeout", nullptr}}},
    };
    // Every third day a night backup runs across midnight, into the next day.
    if (day % 3 == 1)
        logs.push_back({2, "Night backup", 23, 58, 420, {{1, 2, 1, 0x00FF, when, N, N, nullptr, nullptr},
                                                         {3, 1, 1, 4, N, N, N, nullptr, nullptr}}});
    return logs;
}

void WriteLogs(const std::string& dir, int year, int month, DemoSummary& summary) {
    CLogManager2 manager;
    manager.Init(dir.c_str());
    for (int day = 1; day <= 28; day += 2) {
        for (const DemoLog& log : DayLogs(day, CTime(year, month, day, 12, 0, 0).GetTime())) {
            g_demoNow = CTime(year, month, day, log.hour, log.minute, 7 * day % 60).GetTime();
            const DWORD handle = manager.CreateLog(log.name, log.type);
            for (const DemoRecord& r : log.records)
                manager.AddLogRecord2(handle, r.category, r.code, r.format, r.v1, r.v2, r.v3, r.v4, r.text1, r.text2);
            g_demoNow = handle + static_cast<DWORD>(log.durationSeconds);
            if (manager.UpdateLog(handle, 1)) {
                ++summary.logs;
                summary.records += static_cast<int>(log.records.size());
            }
        }
    }
}

void WriteEvents(const std::string& dir, int year, int month, DemoSummary& summary) {
    CEventManager manager;
    manager.Init(dir.c_str());
    static const char* kTexts[] = {"Front door", "Garage", "Hall", "Back yard", "Office", "Gate"};
    for (int day = 1; day <= 28; ++day) {
        for (int i = 0; i < 6; ++i) {
            const DWORD channel = static_cast<DWORD>((day + i) % 8 + 1);
            const BYTE source = i % 3 == 2 ? 2 : 1;
            const BYTE side = i % 4 == 3 ? 2 : 1;
            const DWORD actions = static_cast<DWORD>(1 + (day + i) % 3);
            const DWORD time = CTime(year, month, day, 2 + i * 3, (day * 7 + i * 11) % 60, i * 9).GetTime();
            manager.AddEventLog(channel, actions, source, time, side, kTexts[(day + i) % 6]);
            ++summary.events;
        }
    }
}

}  // namespace

// First-generation entries: each day a few of every type; a recording or network entry is saved
// pending and completed when it ends, except the last few, which stay pending.
void WriteEntries(const std::string& folder, int year, int month, DemoSummary& summary) {
    static const char* kNames[entryfile::kTypeCount] = {"boot", "cam", "menu", "client", "disk"};
    static const char* kTexts[entryfile::kTypeCount] = {nullptr, "Recording started", "Record setup changed",
                                                        "Remote viewer connected", "Disk nearly full"};
    std::filesystem::create_directories(folder);
    CLogManager writer;
    writer.SetSavePath((folder + "/").c_str());
    const int days = 20;
    for (int day = 1; day <= days; day += 3) {
        for (DWORD type = 0; type < entryfile::kTypeCount; ++type) {
            const DWORD start = CTime(year, month, day, 8 + static_cast<int>(type) * 2, 15, 0).GetTime();
            const bool completes = type == 1 || type == 3;
            writer.SaveLog(kNames[type], type, start, completes ? 0 : start, type == 4 ? 1 : 0, kTexts[type]);
            ++summary.entries;
            if (completes && day < days - 3) writer.UpdateLog(kNames[type], type, start + 1800 + day * 60);
            else if (completes) ++summary.pendingEntries;
        }
    }
}

DemoSummary WriteDemoMonth(const std::string& dir) {
    const CTime now = CTime::GetCurrentTime();
    const int year = now.GetMonth() == 1 ? now.GetYear() - 1 : now.GetYear();
    const int month = now.GetMonth() == 1 ? 12 : now.GetMonth() - 1;
    const DWORD inMonth = CTime(year, month, 15, 12, 0, 0).GetTime();

    DemoSummary summary;
    CTime::SetClock(&DemoClock);
    WriteLogs(dir, year, month, summary);
    CTime::SetClock(nullptr);
    WriteEvents(dir, year, month, summary);
    summary.entryFolder = dir + "/log1";
    WriteEntries(summary.entryFolder, year, month, summary);
    summary.entryFiles = MonthFileName(summary.entryFolder.c_str(), inMonth, entryfile::kExtension).str();
    summary.logFiles = MonthFileName(dir.c_str(), inMonth, logfile::kExtension).str();
    summary.eventFiles = MonthFileName(dir.c_str(), inMonth, eventfile::kExtension).str();
    return summary;
}
