// The log browser's data against minimal references, on a month of 100,000 logs and 1,000,000
// records:  build/bench/bench_log_browser --benchmark_counters_tabular=true
// (export_over_fwrite: the month's export as a share of the speed of one fwrite of its text)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/PeakMemory.h"
#include "host/DefaultHost.h"
#include "log2/CLogManager2.h"
#include "log2/CLogViewer2.h"
#include "log2/LogFileFormat.h"
#include "log2/LogMonthData.h"
#include "log2/LogTextRenderer.h"
#include "platform/core/CTime.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/LittleEndian.h"

namespace {

constexpr int kLogs = 100000, kRecordsPerLog = 10;
constexpr int kYear = 2005, kMonth = 4;

std::atomic<DWORD> g_now{0};
DWORD BenchClock() { return g_now.load(); }

// Writes the month once per run: logs spread over the month (10,000 of them on the 15th), each
// with ten records of mixed formats.
const std::string& MonthFolder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "dvrkit-bench-browser";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        CTime::SetClock(&BenchClock);
        CLogManager2 writer;
        writer.Init(path.c_str());
        const DWORD start = CTime(kYear, kMonth, 1, 0, 0, 0).GetTime();
        const DWORD busyDay = CTime(kYear, kMonth, 15, 0, 0, 0).GetTime();
        // 10,000 logs on the busy day (one every 8 s), the others one every 25 s from the 1st on,
        // stepping over the 15th (27 days in all), in time order.
        std::vector<DWORD> starts;
        for (int i = 0; i < kLogs / 10; ++i) starts.push_back(busyDay + static_cast<DWORD>(i) * 8);
        for (int i = 0; i < kLogs - kLogs / 10; ++i) starts.push_back(start + static_cast<DWORD>(i) * 25 + (i >= 14 * 86400 / 25 ? 86400 : 0));
        std::sort(starts.begin(), starts.end());
        for (int i = 0; i < kLogs; ++i) {
            g_now = starts[static_cast<size_t>(i)];
            const DWORD h = writer.CreateLog("bench", static_cast<BYTE>(1 + i % 8));
            for (int r = 0; r < kRecordsPerLog; ++r)
                writer.AddLogRecord2(h, 2, 3, static_cast<BYTE>(r % 3), 5, 6, 7, 8, "camera", "front door");
            writer.UpdateLog(h, 1);
        }
        CTime::SetClock(nullptr);
        return path.string();
    }();
    return folder;
}

std::string MonthPath() {
    char name[16];
    std::snprintf(name, sizeof name, "/%04d%02d.log", kYear, kMonth);
    return MonthFolder() + name;
}

void BM_LoadMonth(benchmark::State& state) {
    MonthFolder();
    CLogMonthData data;
    for (auto _ : state) {
        data.Load(MonthFolder(), {kYear, kMonth});
        benchmark::DoNotOptimize(data.Records().GetSize());
    }
    state.counters["records"] = data.Records().GetSize();
}
BENCHMARK(BM_LoadMonth)->Unit(benchmark::kMillisecond);

// The least a loader can do: read the file and walk every block and record, decoding each.
void BM_LoadMinimalLoop(benchmark::State& state) {
    const std::string path = MonthPath();
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
        std::FILE* f = std::fopen(path.c_str(), "rb");
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        const std::uint8_t* p = bytes.data();
        const std::uint32_t blocks = GetU32(p);
        p += logfile::kFileHeaderSize;
        std::uint64_t sum = 0;
        for (std::uint32_t b = 0; b < blocks; ++b) {
            const _LOG_HEADER_ header = logfile::DecodeLogHeader(p);
            p += logfile::kLogHeaderSize;
            for (std::uint32_t r = 0; r < header.recordCount; ++r) {
                const _LOG_RECORD_MEMORY_ record = logfile::DecodeRecord(p);
                sum += record.value1;
                p += logfile::StoredRecordSize(p[3]);
            }
            p += logfile::kTailSize;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LoadMinimalLoop)->Unit(benchmark::kMillisecond);

// Peak memory of a load, in a child process, against the size of what it loads.
void BM_LoadPeakMemory(benchmark::State& state) {
    MonthFolder();
    double ratio = 0;
    for (auto _ : state) {
        ratio = PeakGrowthOver([] {
            CLogMonthData data;
            data.Load(MonthFolder(), {kYear, kMonth});
            return static_cast<double>(data.Records().GetSize()) * sizeof(_LOG_RECORD_MEMORY_) +
                   static_cast<double>(data.Logs().GetSize()) * sizeof(_LOG_HEADER_MEMORY_);
        });
        if (ratio < 0) state.SkipWithError("child failed");
    }
    state.counters["peak_over_loaded"] = ratio;
}
BENCHMARK(BM_LoadPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SelectBusyDay(benchmark::State& state) {
    CLogMonthData data;
    data.Load(MonthFolder(), {kYear, kMonth});
    const LocalDay day = DayStartingAt(LocalMidnight(kYear, kMonth, 15));
    size_t listed = 0;
    for (auto _ : state) {
        const LogDayGroups groups = data.GroupDay(day);
        listed = 0;
        for (const auto& g : groups.logs) listed += g.size();
        benchmark::DoNotOptimize(listed);
    }
    state.counters["logs"] = static_cast<double>(listed);
}
BENCHMARK(BM_SelectBusyDay)->Unit(benchmark::kMillisecond);

// The same day selected in the browser window: its type tree filled with 10,000 log items.
// Each round selects the busy day and then a quiet one, so that the busy day is filled anew.
void BM_SelectBusyDayInWindow(benchmark::State& state) {
    HeadlessBackend backend(1280, 800);
    CLogViewer2 viewer;
    viewer.CreateEx(0, nullptr, "bench", WS_VISIBLE, CRect(0, 0, 1280, 800), nullptr, 0);
    viewer.Init(MonthFolder().c_str());
    CTreeCtrl& months = viewer.MonthTree();
    viewer.MonthRootSelect(months.GetRootItem());
    HTREEITEM busy = nullptr, quiet = nullptr;
    for (HTREEITEM day = months.GetChildItem(months.GetRootItem()); day; day = months.GetNextSiblingItem(day))
        (months.GetItemText(day) == "15" ? busy : quiet) = day;
    for (auto _ : state) {
        months.SelectItem(busy);
        state.PauseTiming();
        months.SelectItem(quiet);
        state.ResumeTiming();
    }
    months.SelectItem(busy);
    state.counters["tree_items"] = static_cast<double>(viewer.TypeTree().GetCount());  // logs and 9 groups
}
BENCHMARK(BM_SelectBusyDayInWindow)->Unit(benchmark::kMillisecond);

// Exports the loaded month to `path` as the tool does: rendered in pieces, each written whole.
size_t ExportTo(const CLogMonthData& data, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    size_t bytes = 0;
    CLogTextRenderer().MonthText(data, [&](const std::string& piece) { bytes += std::fwrite(piece.data(), 1, piece.size(), f); });
    std::fclose(f);
    return bytes;
}

// The same bytes written with one fwrite.
void FwriteTo(const std::string& text, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

void BM_ExportMonth(benchmark::State& state) {
    CLogMonthData data;
    data.Load(MonthFolder(), {kYear, kMonth});
    size_t bytes = 0;
    for (auto _ : state) bytes = ExportTo(data, MonthFolder() + "/export.txt");
    state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
}
BENCHMARK(BM_ExportMonth)->Unit(benchmark::kMillisecond);

void BM_ExportFwriteOnly(benchmark::State& state) {
    CLogMonthData data;
    data.Load(MonthFolder(), {kYear, kMonth});
    const std::string text = CLogTextRenderer().MonthText(data);
    for (auto _ : state) FwriteTo(text, MonthFolder() + "/fwrite.txt");
    state.SetBytesProcessed(static_cast<int64_t>(text.size() * state.iterations()));
}
BENCHMARK(BM_ExportFwriteOnly)->Unit(benchmark::kMillisecond);

// The export and one fwrite of its text in turns, so that both meet the same machine: the
// export's speed as a share of fwrite's (1 is as fast as one fwrite), the median of the rounds.
void BM_ExportSpeedOverFwrite(benchmark::State& state) {
    CLogMonthData data;
    data.Load(MonthFolder(), {kYear, kMonth});
    const std::string text = CLogTextRenderer().MonthText(data);
    const auto seconds = [](auto&& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> ratios;
    for (auto _ : state) {
        const double exported = seconds([&] { ExportTo(data, MonthFolder() + "/export.txt"); });
        const double written = seconds([&] { FwriteTo(text, MonthFolder() + "/fwrite.txt"); });
        state.SetIterationTime(exported);
        ratios.push_back(written / exported);
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["export_over_fwrite"] = ratios[ratios.size() / 2];
}
BENCHMARK(BM_ExportSpeedOverFwrite)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    RegisterDefaultHostResources();  // record texts come from the host's strings
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
