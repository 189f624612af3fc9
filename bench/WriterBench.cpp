// The log and event writers against the same file operations done with raw POSIX calls.
//   build/bench/bench_writers            (bench/report_writers.py prints the ratios)
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "event/CEventManager.h"
#include "event/EventRecord.h"
#include "log2/CLogManager2.h"
#include "log2/LogFileFormat.h"
#include "platform/core/LittleEndian.h"

namespace {

std::string FreshFolder(const char* name) {
    const auto path = std::filesystem::temp_directory_path() / (std::string("dvrkit-bench-") + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string();
}

// Ten records of mixed formats, as a typical log holds.
void AddTenRecords(CLogManager2& manager, DWORD handle) {
    for (int i = 0; i < 10; ++i) {
        const BYTE format = static_cast<BYTE>(i % 3);
        manager.AddLogRecord2(handle, 2, static_cast<BYTE>(i), format, 1, 2, 3, 4, format == 2 ? "camera 1" : nullptr,
                              format == 2 ? "front door" : nullptr);
    }
}

void BM_LogWrite(benchmark::State& state) {
    const std::string dir = FreshFolder("log");
    CLogManager2 manager;
    manager.Init(dir.c_str());
    for (auto _ : state) {
        const DWORD handle = manager.CreateLog("benchmark", 3);
        AddTenRecords(manager, handle);
        if (!manager.UpdateLog(handle, 1)) state.SkipWithError("log not written");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogWrite);

// The same bytes and the same file operations, with nothing else: open, length, read the
// header, append the block, rewrite the header, close; with `locked`, the file's lock is taken
// around the update, as every writer of a shared folder must.
void LogWriteRawPosix(benchmark::State& state, const char* folder, bool locked) {
    const std::string dir = FreshFolder(folder);
    const std::string path = dir + "/200504.log";
    // Ten records of formats 0, 1, 2, 0, ... take 4 * 4 + 3 * 20 + 3 * 84 bytes.
    const std::string block(logfile::kLogHeaderSize + 4 * 4 + 3 * 20 + 3 * 84 + logfile::kTailSize, '\n');
    std::uint32_t count = 0;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (locked) ::flock(fd, LOCK_EX);
        struct stat st {};
        ::fstat(fd, &st);
        std::uint8_t header[5] = {};
        if (st.st_size) benchmark::DoNotOptimize(::pread(fd, header, 5, 0));
        PutU32(header, ++count);
        header[4] = '\n';
        benchmark::DoNotOptimize(::pwrite(fd, block.data(), block.size(), std::max<off_t>(st.st_size, 5)));
        benchmark::DoNotOptimize(::pwrite(fd, header, 5, 0));
        if (locked) ::flock(fd, LOCK_UN);
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_LogWriteRawPosix(benchmark::State& state) { LogWriteRawPosix(state, "log-raw", false); }
BENCHMARK(BM_LogWriteRawPosix);
void BM_LogWriteRawPosixLocked(benchmark::State& state) { LogWriteRawPosix(state, "log-raw-locked", true); }
BENCHMARK(BM_LogWriteRawPosixLocked);

// Writing one log while `range(0)` logs of 10 records each are pending.
void BM_LogWriteWithPending(benchmark::State& state) {
    const std::string dir = FreshFolder("log-pending");
    CLogManager2 manager;
    manager.Init(dir.c_str());
    for (int64_t i = 0; i < state.range(0); ++i) AddTenRecords(manager, manager.CreateLog("pending", 1));
    for (auto _ : state) {
        const DWORD handle = manager.CreateLog("benchmark", 3);
        AddTenRecords(manager, handle);
        manager.UpdateLog(handle, 1);
    }
    state.counters["pending"] = static_cast<double>(manager.PendingLogCount());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogWriteWithPending)->Arg(0)->Arg(1000)->Arg(10000);

CEventManager* g_events = nullptr;

void BM_EventAppend(benchmark::State& state) {
    if (state.thread_index() == 0) {
        g_events = new CEventManager;
        g_events->Init(FreshFolder("event").c_str());
    }
    // The benchmark library starts the timed loop of all threads together, after this setup.
    for (auto _ : state) g_events->AddEventLog(3, 1, 1, 1115028000, 1, "Door");
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        delete g_events;
        g_events = nullptr;
    }
}
BENCHMARK(BM_EventAppend)->Threads(1)->Threads(2)->UseRealTime();

void BM_EventAppendRawPosix(benchmark::State& state) {
    static std::string path;
    if (state.thread_index() == 0) path = FreshFolder("event-raw") + "/200505.evt";
    std::uint8_t record[eventfile::kRecordSize] = {};
    record[eventfile::kMarkOffset] = eventfile::kMark;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(fd, record, sizeof record));
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EventAppendRawPosix)->Threads(1)->Threads(2)->UseRealTime();

void BM_EventAppendRawPosixLocked(benchmark::State& state) {
    const std::string path = FreshFolder("event-raw-locked") + "/200505.evt";
    std::uint8_t record[eventfile::kRecordSize] = {};
    record[eventfile::kMarkOffset] = eventfile::kMark;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        ::flock(fd, LOCK_EX);
        benchmark::DoNotOptimize(::write(fd, record, sizeof record));
        ::flock(fd, LOCK_UN);
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EventAppendRawPosixLocked)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
