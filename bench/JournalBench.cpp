// The journal over a month of 1,000,000 events and a month of 100,000 logs of 10 records each:
// indexing the month (Open), giving every unit with Next, and the peak memory of both together,
// in MiB over what the process held before.
//   build/bench/bench_journal --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/PeakMemory.h"
#include "event/EventJournal.h"
#include "event/EventRecord.h"
#include "host/DefaultHost.h"
#include "log2/LogFileFormat.h"
#include "log2/LogJournal.h"
#include "module/Journal.h"
#include "module/MonthFile.h"
#include "platform/core/CTime.h"

namespace {

constexpr int kYear = 2005, kMonth = 4;
constexpr DWORD kEvents = 1000000, kLogs = 100000, kRecordsPerLog = 10;

DWORD MonthStart() {
    static const DWORD start = CTime(kYear, kMonth, 1, 0, 0, 0).GetTime();
    return start;
}

std::string WriteMonth(const char* name, const char* extension, const std::vector<std::uint8_t>& bytes) {
    const auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::FILE* f = std::fopen(MonthFilePath(folder.string(), {kYear, kMonth}, extension).c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return folder.string();
}

const std::string& EventMonth() {
    static const std::string folder = [] {
        std::vector<std::uint8_t> bytes(kEvents * eventfile::kRecordSize);
        for (DWORD i = 0; i < kEvents; ++i) {
            _EVENT_LOG_ e{};
            e.time = MonthStart() + i * 2;
            e.channel = 1 + i % 16;
            e.source = static_cast<BYTE>(1 + i % 2);
            e.side = 1;
            e.mark = eventfile::kMark;
            eventfile::EncodeEvent(bytes.data() + i * eventfile::kRecordSize, e);
        }
        return WriteMonth("dvrkit-bench-journal-events", eventfile::kExtension, bytes);
    }();
    return folder;
}

const std::string& LogMonth() {
    static const std::string folder = [] {
        constexpr std::size_t kRecordSize = logfile::StoredRecordSize(kFormatValues);
        std::vector<std::uint8_t> bytes(logfile::kFileHeaderSize);
        logfile::EncodeFileHeader(bytes.data(), kLogs);
        for (DWORD i = 0; i < kLogs; ++i) {
            _LOG_HEADER_ h{MonthStart() + i * 20, MonthStart() + i * 20 + 10, kRecordsPerLog, 1, 0, "bench"};
            const std::size_t at = bytes.size();
            bytes.resize(at + logfile::kLogHeaderSize + kRecordsPerLog * kRecordSize + logfile::kTailSize);
            logfile::EncodeLogHeader(bytes.data() + at, h);
            std::uint8_t* out = bytes.data() + at + logfile::kLogHeaderSize;
            for (DWORD r = 0; r < kRecordsPerLog; ++r)
                out = logfile::EncodeRecord(out, _LOG_RECORD_MEMORY_{1, 1, 1, kFormatValues, r, 0, 0, 0, {}, {}, 0});
            *out = logfile::kMark;
        }
        return WriteMonth("dvrkit-bench-journal-logs", logfile::kExtension, bytes);
    }();
    return folder;
}

struct Month {
    const JournalFamily& (*family)();
    const std::string& (*folder)();
};
const Month kMonths[] = {{EventJournalFamily, EventMonth}, {LogJournalFamily, LogMonth}};

void BM_JournalIndexMonth(benchmark::State& state) {
    const Month& month = kMonths[state.range(0)];
    month.folder();
    for (auto _ : state) {
        Journal journal(month.family());
        benchmark::DoNotOptimize(journal.Open(month.folder()));
    }
}
BENCHMARK(BM_JournalIndexMonth)->ArgName("logs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_JournalNextThroughMonth(benchmark::State& state) {
    const Month& month = kMonths[state.range(0)];
    Journal journal(month.family());
    journal.Open(month.folder());
    std::size_t units = 0;
    for (auto _ : state) {
        journal.SeekHead();
        units = 0;
        while (journal.Next()) ++units;
    }
    state.counters["units"] = static_cast<double>(units);
}
BENCHMARK(BM_JournalNextThroughMonth)->ArgName("logs")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Indexing and giving every unit, in a child process: the growth of its peak memory in MiB.
void BM_JournalPeakMemory(benchmark::State& state) {
    const Month& month = kMonths[state.range(0)];
    month.folder();
    double mib = 0;
    for (auto _ : state) {
        // Heap pages freed by the benchmarks before would otherwise serve the index unseen.
        malloc_trim(0);
        mib = PeakGrowthOver([&month] {
            Journal journal(month.family());
            journal.Open(month.folder());
            while (journal.Next()) {
            }
            return double(1 << 20);
        });
        if (mib < 0) state.SkipWithError("child failed");
    }
    state.counters["peak_MiB"] = mib;
}
BENCHMARK(BM_JournalPeakMemory)->ArgName("logs")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    RegisterDefaultHostResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
