// Writes the month of logs that bench/journal_peer.py compares with a systemd journal, through the
// library's own writer:
//   build/bench/bench_journal_month DIR YYYY-MM LOGS   LOGS logs of ten records over the month
//   build/bench/bench_journal_month DIR --append TIME  one more log starting at TIME (Unix seconds);
//                                                       prints the monotonic clock once it is written
// The logs are of every type, their records keyed by the message table's rows of that type, so
// that their texts are the varied ones a recorder writes.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "log2/CLogManager2.h"
#include "log2/LogTextTable.h"
#include "platform/core/CTime.h"

namespace {

constexpr int kRecordsPerLog = 10;

std::atomic<DWORD> g_now{0};
DWORD BenchClock() { return g_now.load(); }

struct LogKind {
    BYTE type;
    const char* name;
    int weight;
};

// Operations and recording dominate; network, error and other logs are rarer.
constexpr LogKind kKinds[] = {
    {1, "System Start", 2},   {1, "Power Control", 2},  {2, "Schedule Record", 10}, {2, "Motion Record", 14},
    {3, "Setup Change", 8},   {3, "Disk Maintenance", 3}, {4, "Remote Power", 1},   {5, "Remote Record", 4},
    {6, "Remote Setup", 4},   {7, "Service", 1},        {8, "Error Report", 2},
};

const char* const kText1[] = {"admin", "operator", "192.168.10.24", "Front Door", "Parking Lot", "HDD1", "guard"};
const char* const kText2[] = {"10.0.0.7", "Lobby", "Warehouse", "HDD2", "Back Gate", "supervisor", "NVR-02"};

// The rows of the message table for a log type (4 to 6 share those of 1 to 3).
std::vector<LOG_TEXT_ROW> RowsOf(BYTE type) {
    const BYTE base = type >= 4 && type <= 6 ? static_cast<BYTE>(type - 3) : type;
    std::vector<LOG_TEXT_ROW> rows;
    for (const LOG_TEXT_ROW& row : LOG_TEXT_TABLE)
        if (row.type == base && row.type != 0) rows.push_back(row);
    if (rows.empty()) rows.push_back({base, 1, 1, 1, 0});  // type 7: the fallback text
    return rows;
}

BYTE FormatFor(int form) {
    switch (form) {
        case 1: return kFormatKeyOnly;
        case 3: case 5: case 6: case 8: case 14: case 18: case 20: case 21: case 22: case 23: return kFormatValuesTexts;
        default: return kFormatValues;
    }
}

void WriteLog(CLogManager2& writer, std::mt19937& random, DWORD start) {
    static const std::vector<int> weights = [] {
        std::vector<int> w;
        for (const LogKind& k : kKinds) w.push_back(k.weight);
        return w;
    }();
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    const LogKind& kind = kKinds[pick(random)];
    const std::vector<LOG_TEXT_ROW> rows = RowsOf(kind.type);
    g_now = start;
    const DWORD handle = writer.CreateLog(kind.name, kind.type);
    for (int r = 0; r < kRecordsPerLog; ++r) {
        const LOG_TEXT_ROW& row = rows[random() % rows.size()];
        const DWORD channel = 1 + random() % 16;
        writer.AddLogRecord2(handle, row.category, row.code, FormatFor(row.form), row.form == 18 ? 1 + random() % 2 : channel,
                             start - random() % 3600, random() & 0xFFFF, random() % 2, kText1[random() % 7],
                             kText2[random() % 7]);
    }
    g_now = start + 1 + random() % 120;
    if (!writer.UpdateLog(handle, static_cast<BYTE>(random() % 3))) {
        std::fprintf(stderr, "bench_journal_month: the log was not written: %s\n", writer.LastRefusal().c_str());
        std::exit(1);
    }
}

// LOGS logs at random times over the month, written in time order as a recorder writes them.
int WriteMonth(const char* dir, int year, int month, int logs) {
    CLogManager2 writer;
    writer.Init(dir);
    const DWORD first = CTime(year, month, 1, 0, 0, 0).GetTime();
    const DWORD end = CTime(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1, 0, 0, 0).GetTime();
    std::mt19937 random(20050401);
    std::vector<DWORD> starts(static_cast<size_t>(logs));
    // The month's last hour is left free for the logs a follower is shown being appended.
    for (DWORD& s : starts) s = first + random() % (end - first - 3600);
    std::sort(starts.begin(), starts.end());
    for (const DWORD start : starts) WriteLog(writer, random, start);
    return 0;
}

int Append(const char* dir, DWORD start) {
    CLogManager2 writer;
    writer.Init(dir);
    std::mt19937 random(start);
    WriteLog(writer, random, start);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%.6f\n", static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CTime::SetClock(&BenchClock);
    const std::string usage = "usage: bench_journal_month DIR YYYY-MM LOGS | DIR --append TIME\n";
    if (argc == 4 && std::string(argv[2]) == "--append") return Append(argv[1], static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    int year = 0, month = 0;
    if (argc != 4 || std::sscanf(argv[2], "%d-%d", &year, &month) != 2 || month < 1 || month > 12) {
        std::fputs(usage.c_str(), stderr);
        return 2;
    }
    return WriteMonth(argv[1], year, month, std::atoi(argv[3]));
}
