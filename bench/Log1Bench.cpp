// The first-generation log against minimal references, each pair measured in the same run:
// SaveLog of 100,000 entries against a raw open-append-close loop of the same 168-byte records
// (throughput ratio); loading a month of 1,000,000 entries into the browser's data core against
// a plain read-and-decode loop (time ratio, and peak memory over the loaded array); and
// MemoryDeleteTime over one day of a month of 100,000 and of 1,000,000 entries (time per entry).
//   build/bench/bench_log1 --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/PeakMemory.h"
#include "host/DefaultHost.h"
#include "log1/CLogManager.h"
#include "log1/EntryMonthData.h"
#include "log1/EntryRecord.h"
#include "platform/core/CTime.h"

namespace {

constexpr int kYear = 2005, kMonth = 4;
constexpr int kSavedEntries = 100000;
constexpr int kBigMonth = 1000000;
// Every month is spread over the same 23 days, so that a day holds the same share of any month.
constexpr DWORD kMonthSpan = 2000000;
constexpr int kChosenDay = 10;

std::string FreshFolder(const std::string& name) {
    const auto path = std::filesystem::temp_directory_path() / ("dvrkit-bench-log1-" + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string();
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The i-th of `n` entries of a month: five types, camera names, and every tenth still pending.
_LOG_RECORD_V1_ Entry(int i, int n) {
    _LOG_RECORD_V1_ e{};
    e.time = CTime(kYear, kMonth, 1, 0, 0, 0).GetTime() + static_cast<DWORD>(i * static_cast<double>(kMonthSpan) / n);
    e.updateTime = i % 10 == 0 ? 0 : e.time + 5;
    std::snprintf(e.name, sizeof e.name, "camera %02d", i % 16 + 1);
    e.type = static_cast<DWORD>(i % entryfile::kTypeCount);
    e.flag = static_cast<DWORD>(i % 2);
    std::snprintf(e.text, sizeof e.text, "motion on camera %02d, zone %d", i % 16 + 1, i % 100);
    return e;
}

std::vector<std::uint8_t> EncodedMonth(int n) {
    std::vector<std::uint8_t> bytes(static_cast<size_t>(n) * entryfile::kRecordSize);
    for (int i = 0; i < n; ++i) entryfile::EncodeEntry(bytes.data() + i * entryfile::kRecordSize, Entry(i, n));
    return bytes;
}

// A folder holding a month of `n` entries in the order a writer appends them, made once per run.
const std::string& MonthOf(int n) {
    static std::map<int, std::string> folders;
    auto& folder = folders[n];
    if (!folder.empty()) return folder;
    folder = FreshFolder(std::to_string(n));
    const auto bytes = EncodedMonth(n);
    std::FILE* f = std::fopen(MonthFilePath(folder, {kYear, kMonth}, entryfile::kExtension).c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return folder;
}

// SaveLog against open, append, close of the already encoded records, each into a fresh folder.
// The two take turns at going first, so that neither always meets the other's writes still
// being flushed; the reported time is SaveLog's.
void BM_SaveLogAgainstRawAppend(benchmark::State& state) {
    std::vector<_LOG_RECORD_V1_> entries;
    for (int i = 0; i < kSavedEntries; ++i) entries.push_back(Entry(i, kSavedEntries));
    const auto bytes = EncodedMonth(kSavedEntries);
    const auto saveLog = [&] {
        CLogManager manager;
        manager.SetSavePath((FreshFolder("save") + "/").c_str());
        return Seconds([&] {
            for (const _LOG_RECORD_V1_& e : entries) manager.SaveLog(e.name, e.type, e.time, e.updateTime, e.flag, e.text);
        });
    };
    const auto rawAppend = [&] {
        const std::string path = MonthFilePath(FreshFolder("raw"), {kYear, kMonth}, entryfile::kExtension);
        return Seconds([&] {
            for (size_t at = 0; at < bytes.size(); at += entryfile::kRecordSize) {
                const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
                benchmark::DoNotOptimize(::write(fd, bytes.data() + at, entryfile::kRecordSize));
                ::close(fd);
            }
        });
    };
    double saveSeconds = 0, rawSeconds = 0;
    bool saveFirst = true;
    for (auto _ : state) {
        double save = 0, raw = 0;
        if (saveFirst) {
            save = saveLog();
            raw = rawAppend();
        } else {
            raw = rawAppend();
            save = saveLog();
        }
        saveFirst = !saveFirst;
        state.SetIterationTime(save);
        saveSeconds += save;
        rawSeconds += raw;
    }
    state.counters["saves_per_s"] = kSavedEntries * state.iterations() / saveSeconds;
    state.counters["raw_per_s"] = kSavedEntries * state.iterations() / rawSeconds;
    state.counters["throughput_ratio"] = rawSeconds / saveSeconds;
}
BENCHMARK(BM_SaveLogAgainstRawAppend)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);

// The least a loader can do: read the big month's file and decode every record into a vector.
std::vector<_LOG_RECORD_V1_> MinimalLoad() {
    const std::string path = MonthFilePath(MonthOf(kBigMonth), {kYear, kMonth}, entryfile::kExtension);
    std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    std::vector<_LOG_RECORD_V1_> entries;
    entries.reserve(bytes.size() / entryfile::kRecordSize);
    for (size_t at = 0; at + entryfile::kRecordSize <= bytes.size(); at += entryfile::kRecordSize)
        entries.push_back(entryfile::DecodeEntry(&bytes[at]));
    return entries;
}

// Each round loads the month both ways; the reported time is the data core's.
void BM_LoadMonthAgainstMinimal(benchmark::State& state) {
    CEntryMonthData data;
    data.SetFolder(MonthOf(kBigMonth));
    double coreSeconds = 0, minimalSeconds = 0;
    for (auto _ : state) {
        const double core = Seconds([&] { data.Load({kYear, kMonth}); });
        minimalSeconds += Seconds([&] { benchmark::DoNotOptimize(MinimalLoad().data()); });
        state.SetIterationTime(core);
        coreSeconds += core;
    }
    state.counters["entries"] = data.Entries().GetSize();
    state.counters["time_ratio"] = coreSeconds / minimalSeconds;
}
BENCHMARK(BM_LoadMonthAgainstMinimal)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Peak memory of each load, in a child process, against the size of the loaded array.
void BM_LoadMonthPeakMemory(benchmark::State& state) {
    CEntryMonthData data;
    data.SetFolder(MonthOf(kBigMonth));
    double core = 0, minimal = 0;
    for (auto _ : state) {
        core = PeakGrowthOver([&] {
            data.Load({kYear, kMonth});
            return static_cast<double>(data.Entries().GetSize()) * sizeof(CLogRecordItem);
        });
        minimal = PeakGrowthOver([&] { return static_cast<double>(MinimalLoad().size()) * sizeof(_LOG_RECORD_V1_); });
        if (core < 0 || minimal < 0) state.SkipWithError("child failed");
    }
    state.counters["peak_over_loaded"] = core;
    state.counters["minimal_peak_over_loaded"] = minimal;
}
BENCHMARK(BM_LoadMonthPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Removing one day's entries from a loaded month of `range(0)` entries; the month is loaded anew,
// untimed, before each round.
void BM_MemoryDeleteTimeOfDay(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    CEntryMonthData data;
    data.SetFolder(MonthOf(n));
    const LocalDay day = DayStartingAt(LocalMidnight(kYear, kMonth, kChosenDay));
    size_t removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        data.Load({kYear, kMonth});
        state.ResumeTiming();
        removed = data.MemoryDeleteTime(day.midnight, day.end).size();
    }
    state.counters["entries"] = n;
    state.counters["removed"] = static_cast<double>(removed);
    state.counters["per_entry"] = benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}
BENCHMARK(BM_MemoryDeleteTimeOfDay)->Arg(100000)->Arg(kBigMonth)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    RegisterDefaultHostResources();  // the type labels come from the host's strings
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
