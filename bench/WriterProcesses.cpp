// Several processes writing one folder at once, against one process doing the same total work:
// how many logs and events are present and valid afterwards (all of them), and the throughput.
//   build/bench/bench_writer_processes [PROCESSES LOGS-EACH EVENTS-EACH]
// (bench/report_writers.py runs it with 4 x 10,000 logs and 4 x 100,000 events.)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "event/CEventManager.h"
#include "event/EventFileReader.h"
#include "log2/CLogManager2.h"
#include "log2/LogFileReader.h"
#include "platform/core/CFile.h"

namespace {

constexpr DWORD kEventTime = 1115028000;  // all events in one month file

std::string FreshFolder(const std::string& name) {
    const auto path = std::filesystem::temp_directory_path() / ("dvrkit-bench-" + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path.string();
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    CFile file;
    std::vector<std::uint8_t> bytes;
    if (!file.Open(path.c_str(), CFile::modeRead)) return bytes;
    bytes.resize(file.GetLength());
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    return bytes;
}

std::string OnlyFile(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) return entry.path().string();
    return {};
}

// Writer `process` of `processes` writes its share: `count` items named p<process>-<i>.
void WriteLogs(const std::string& folder, int process, int count) {
    CLogManager2 writer;
    writer.Init(folder.c_str());
    for (int i = 0; i < count; ++i) {
        const std::string name = "p" + std::to_string(process) + "-" + std::to_string(i);
        const DWORD h = writer.CreateLog(name.c_str(), 1);
        for (int r = 0; r < 10; ++r)
            writer.AddLogRecord2(h, 2, static_cast<BYTE>(r), static_cast<BYTE>(r % 3), 1, 2, 3, 4, "camera 1", "front door");
        if (!writer.UpdateLog(h, 1)) std::_Exit(1);
    }
}

void WriteEvents(const std::string& folder, int process, int count) {
    CEventManager writer;
    writer.Init(folder.c_str());
    for (int i = 0; i < count; ++i) {
        const std::string text = std::to_string(process) + "-" + std::to_string(i);
        if (!writer.WriteEventLog(1, 0, 1, kEventTime, 1, text.c_str())) std::_Exit(1);
    }
}

// Runs `work` in `processes` processes at once, each doing `total / processes` items; seconds.
double RunInProcesses(int processes, int total, const std::function<void(int, int)>& work) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        const pid_t child = fork();
        if (child == 0) {
            work(p, total / processes);
            std::_Exit(0);
        }
        children.push_back(child);
    }
    bool failed = false;
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        failed = failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    if (failed) std::printf("a writer process failed\n");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t ValidLogs(const std::string& folder) {
    const LogFileContents contents = ParseLogFile(ReadAll(OnlyFile(folder)));
    if (contents.damage || contents.trailingBytes) return 0;
    std::set<std::string> names;
    for (const LogBlock& block : contents.blocks)
        if (block.records.size() == 10) names.insert(block.header.name);
    return names.size();
}

size_t ValidEvents(const std::string& folder) {
    const EventFileContents contents = ParseEventFile(ReadAll(OnlyFile(folder)));
    std::set<std::string> texts;
    for (const EventFileEntry& e : contents.records)
        if (e.valid) texts.insert(e.event.text);
    return contents.trailingBytes ? 0 : texts.size();
}

void Measure(const char* what, int processes, int total, const std::function<void(const std::string&, int, int)>& work,
             const std::function<size_t(const std::string&)>& valid) {
    const std::string one = FreshFolder(std::string(what) + "-one"), many = FreshFolder(std::string(what) + "-many");
    const double oneSeconds = RunInProcesses(1, total, [&](int p, int n) { work(one, p, n); });
    const double manySeconds = RunInProcesses(processes, total, [&](int p, int n) { work(many, p, n); });
    const size_t oneValid = valid(one), manyValid = valid(many);
    std::printf("%s: %d processes x %d: %zu of %d present and valid, %.0f/s; one process: %zu of %d, %.0f/s; "
                "ratio %.2fx\n",
                what, processes, total / processes, manyValid, total, total / manySeconds, oneValid, total,
                total / oneSeconds, oneSeconds / manySeconds);
    std::filesystem::remove_all(one);
    std::filesystem::remove_all(many);
}

}  // namespace

int main(int argc, char** argv) {
    const int processes = argc > 1 ? std::atoi(argv[1]) : 4;
    const int logsEach = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int eventsEach = argc > 3 ? std::atoi(argv[3]) : 100000;
    Measure("logs", processes, processes * logsEach, WriteLogs, ValidLogs);
    Measure("events", processes, processes * eventsEach, WriteEvents, ValidEvents);
}
