#include "tests/forward/ForwardPeers.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "event/EventJournal.h"
#include "log1/EntryJournal.h"
#include "log2/LogJournal.h"
#include "module/Journal.h"
#include "tests/forward/RsyslogServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";
// Texts a forwarder must carry whole: the three characters structured data escapes, a UTF-8 letter.
const char* const kTexts[] = {"plain", "quote \" here", "back\\slash", "bracket ] end", "Ärger über Öl"};

// Entries later by index, so that entries written after a run come after its cursor.
CTime MarchTime(int index) { return CTime(CTime(2024, 3, 1, 0, 0, 0).GetTime() + static_cast<DWORD>(index) * 61); }

// "[id a=\"1\" b=\"x\\\"y\"]" as its parameters, unescaped.
std::vector<std::pair<std::string, std::string>> ParseStructuredData(const std::string& sd) {
    std::vector<std::pair<std::string, std::string>> params;
    std::size_t at = sd.find(' ');
    while (at != std::string::npos && at < sd.size() && sd[at] == ' ') {
        const std::size_t equals = sd.find('=', at);
        std::string name = sd.substr(at + 1, equals - at - 1), value;
        std::size_t i = equals + 2;
        for (; i < sd.size() && sd[i] != '"'; ++i) value += sd[i] == '\\' ? sd[++i] : sd[i];
        params.emplace_back(std::move(name), std::move(value));
        at = i + 1;
    }
    return params;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The tool suppresses librelp's leaks, which librelp allocates inside libcrypto, whose frames the
// sanitizer's fast unwinder cannot pass: the tool started from here records whole stacks.
void UnwindFullyInTheTool() {
    const char* given = std::getenv("ASAN_OPTIONS");
    const std::string options = given != nullptr ? given : "";
    if (options.find("fast_unwind_on_malloc") == std::string::npos)
        setenv("ASAN_OPTIONS", ((options.empty() ? "" : options + ":") + "fast_unwind_on_malloc=0").c_str(), 1);
}

std::string CommandLine(const std::vector<std::string>& arguments) {
    UnwindFullyInTheTool();
    std::string line = Quoted(DVRKIT_TOOL);
    for (const std::string& argument : arguments) line += " " + Quoted(argument);
    return line;
}

}  // namespace

const JournalFamily& FamilyNamed(const std::string& name) {
    if (name == "event") return EventJournalFamily();
    if (name == "log1") return EntryJournalFamily();
    return LogJournalFamily();
}

void WriteMonth(const std::string& name, const std::string& folder, int count, int firstIndex) {
    std::filesystem::create_directories(folder);
    ScopedClock clock(0);
    for (int i = firstIndex; i < firstIndex + count; ++i) {
        const char* text = kTexts[i % std::size(kTexts)];
        if (name == "event") {
            WriteTestEvent(folder, {MarchTime(i), static_cast<DWORD>(1 + i % 16), 3, static_cast<BYTE>(1 + i % 2), 1, text});
        } else if (name == "log1") {
            WriteTestEntry(folder, {MarchTime(i), static_cast<DWORD>(i % 5), "entry" + std::to_string(i), 0, 0, text});
        } else {
            TestLog log{MarchTime(i), static_cast<BYTE>(1 + i % 3), text};
            log.records = {TestLogRecord{1, 1, 1, static_cast<DWORD>(i), LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, text},
                           TestLogRecord{}};
            log.end = CTime(MarchTime(i).GetTime() + 5);
            WriteTestLog(folder, clock, log);
        }
    }
}

std::vector<ExpectedEntry> ExpectedEntries(const std::string& family, const std::string& folder) {
    Journal journal(FamilyNamed(family));
    if (!journal.Open(folder)) throw std::runtime_error(journal.Error());
    std::vector<ExpectedEntry> entries;
    JournalText text;
    while (journal.Next()) {
        journal.Render(text);
        ExpectedEntry entry;
        for (const JournalField& field : text.fields) {
            if (field.isNumber) entry.params.emplace_back(field.name, std::to_string(field.number));
            else if (!field.isList) entry.params.emplace_back(field.name, field.text);
            for (const std::string& item : field.list) entry.params.emplace_back(field.name, item);
        }
        std::string body = text.body;
        if (!body.empty() && body.back() == '\n') body.pop_back();
        entry.msg = kBom + text.heading + (body.empty() ? "" : "\n" + body);
        entries.push_back(std::move(entry));
    }
    return entries;
}

void PrintTo(const ExpectedEntry& entry, std::ostream* out) {
    *out << "{";
    for (const auto& [name, value] : entry.params) *out << name << "=" << ::testing::PrintToString(value) << " ";
    *out << "msg=" << ::testing::PrintToString(entry.msg) << "}";
}

ExpectedEntry ReceivedEntry(const nlohmann::json& message) {
    return {ParseStructuredData(message.at("sd").get<std::string>()), message.at("msg").get<std::string>()};
}

std::vector<ExpectedEntry> ReceivedEntries(const std::vector<nlohmann::json>& messages) {
    std::vector<ExpectedEntry> entries;
    for (const nlohmann::json& message : messages) entries.push_back(ReceivedEntry(message));
    return entries;
}

std::vector<std::string> ForwardArguments(const RsyslogServer& server, const std::string& scheme, const std::string& folder,
                                          const std::string& family, const std::string& cursorFile, const char* timeoutSeconds) {
    std::vector<std::string> arguments{"forward", folder, "--family", family, "--to", server.Url(scheme),
                                       "--cursor-file", cursorFile, "--timeout", timeoutSeconds};
    if (scheme == "syslog+tls" || scheme == "relp+tls") arguments.insert(arguments.end(), {"--ca-file", server.CaFile()});
    if (scheme == "relp+tls") arguments.push_back("--relp-tls");
    return arguments;
}

std::map<ExpectedEntry, int> Arrivals(const std::vector<nlohmann::json>& messages) {
    std::map<ExpectedEntry, int> arrivals;
    for (const nlohmann::json& message : messages) ++arrivals[ReceivedEntry(message)];
    return arrivals;
}

ToolRun RunTool(const std::vector<std::string>& arguments) {
    TempDir scratch;
    const std::string errors = scratch.file("stderr");
    const int status = std::system((CommandLine(arguments) + " >/dev/null 2>" + Quoted(errors)).c_str());
    std::ifstream in(errors);
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

pid_t StartTool(const std::vector<std::string>& arguments, const std::string& errorFile) {
    UnwindFullyInTheTool();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen(errorFile.c_str(), "w", stderr);
        std::vector<char*> argv{const_cast<char*>(DVRKIT_TOOL)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(DVRKIT_TOOL, argv.data());
        ::_exit(127);
    }
    return pid;
}

std::pair<int, double> WaitTool(pid_t pid) {
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, cpu};
}
