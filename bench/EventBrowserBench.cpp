// The event browser against minimal references: loading a month of 1,000,000 events (time and
// peak memory against a plain read-and-decode loop over the same file), and choosing a day of
// 1,000 to 10,000 events in the window (time per event).
//   build/bench/bench_event_browser --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/PeakMemory.h"
#include "event/CEventViewer.h"
#include "event/EventMonthData.h"
#include "host/DefaultHost.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/CTime.h"

namespace {

constexpr int kYear = 2005, kMonth = 4;
constexpr int kMonthEvents = 1000000;

_EVENT_LOG_ Event(DWORD time, DWORD n) {
    _EVENT_LOG_ e{};
    e.time = time;
    e.channel = 1 + n % 16;
    e.actions = 1 + n % 3;
    e.source = static_cast<BYTE>(1 + n % 2);
    e.side = static_cast<BYTE>(1 + n % 2);
    std::snprintf(e.text, sizeof e.text, "zone %u", static_cast<unsigned>(n % 100));
    e.mark = eventfile::kMark;
    return e;
}

// Writes `times` as one month file in a fresh folder named `name`, in the order given.
std::string WriteMonth(const char* name, const std::vector<DWORD>& times) {
    const auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<std::uint8_t> bytes(times.size() * eventfile::kRecordSize);
    for (size_t i = 0; i < times.size(); ++i)
        eventfile::EncodeEvent(bytes.data() + i * eventfile::kRecordSize, Event(times[i], static_cast<DWORD>(i)));
    std::FILE* f = std::fopen(MonthFilePath(folder.string(), {kYear, kMonth}, eventfile::kExtension).c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return folder.string();
}

// A million events over the month, in the order a writer appends them.
const std::string& BigMonth() {
    static const std::string folder = [] {
        const DWORD start = CTime(kYear, kMonth, 1, 0, 0, 0).GetTime();
        std::vector<DWORD> times(kMonthEvents);
        for (int i = 0; i < kMonthEvents; ++i) times[i] = start + static_cast<DWORD>(i) * 2;  // 23 days
        return WriteMonth("dvrkit-bench-events", times);
    }();
    return folder;
}

void BM_EventLoadMonth(benchmark::State& state) {
    CEventMonthData data;
    for (auto _ : state) {
        data.Load(BigMonth(), {kYear, kMonth});
        benchmark::DoNotOptimize(data.Events().GetSize());
    }
    state.counters["events"] = data.Events().GetSize();
}
BENCHMARK(BM_EventLoadMonth)->Unit(benchmark::kMillisecond);

// The least a loader can do: read the file and decode every record whose mark is right.
void BM_EventLoadMinimalLoop(benchmark::State& state) {
    const std::string path = MonthFilePath(BigMonth(), {kYear, kMonth}, eventfile::kExtension);
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
        std::FILE* f = std::fopen(path.c_str(), "rb");
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        std::vector<_EVENT_LOG_> events;
        events.reserve(bytes.size() / eventfile::kRecordSize);
        for (size_t at = 0; at + eventfile::kRecordSize <= bytes.size(); at += eventfile::kRecordSize)
            if (bytes[at + eventfile::kMarkOffset] == eventfile::kMark) events.push_back(eventfile::DecodeEvent(&bytes[at]));
        benchmark::DoNotOptimize(events.data());
    }
}
BENCHMARK(BM_EventLoadMinimalLoop)->Unit(benchmark::kMillisecond);

// Peak memory of a load, in a child process, against the size of the loaded array.
void BM_EventLoadPeakMemory(benchmark::State& state) {
    BigMonth();
    double ratio = 0;
    for (auto _ : state) {
        ratio = PeakGrowthOver([] {
            CEventMonthData data;
            data.Load(BigMonth(), {kYear, kMonth});
            return static_cast<double>(data.Events().GetSize()) * sizeof(_EVENT_LOG_);
        });
        if (ratio < 0) state.SkipWithError("child failed");
    }
    state.counters["peak_over_loaded"] = ratio;
}
BENCHMARK(BM_EventLoadPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// A day of `n` events on the 15th (one every 8 s) and one event on the 16th: choosing the 15th in
// the window fills the event tree with the day's events. Each round chooses the busy day and then
// the quiet one, so that the busy day is filled anew.
void BM_EventSelectDayInWindow(benchmark::State& state) {
    const auto n = static_cast<DWORD>(state.range(0));
    std::vector<DWORD> times;
    const DWORD busy = CTime(kYear, kMonth, 15, 0, 0, 0).GetTime();
    for (DWORD i = 0; i < n; ++i) times.push_back(busy + i * 8);
    times.push_back(CTime(kYear, kMonth, 16, 12, 0, 0).GetTime());
    const std::string folder = WriteMonth("dvrkit-bench-event-day", times);

    HeadlessBackend backend(1280, 800);
    CEventViewer viewer;
    viewer.CreateEx(0, nullptr, "bench", WS_VISIBLE, CRect(0, 0, 1280, 800), nullptr, 0);
    viewer.Init(folder.c_str());
    CTreeCtrl& months = viewer.MonthTree();
    viewer.MonthRootSelect(months.GetRootItem());
    HTREEITEM busyItem = nullptr, quietItem = nullptr;
    for (HTREEITEM day = months.GetChildItem(months.GetRootItem()); day; day = months.GetNextSiblingItem(day))
        (months.GetItemText(day) == "15" ? busyItem : quietItem) = day;
    for (auto _ : state) {
        months.SelectItem(busyItem);
        state.PauseTiming();
        months.SelectItem(quietItem);
        state.ResumeTiming();
    }
    state.counters["events"] = n;
    state.counters["per_event"] = benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}
BENCHMARK(BM_EventSelectDayInWindow)->Arg(1000)->Arg(2000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    RegisterDefaultHostResources();  // group labels and action texts come from the host's strings
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
