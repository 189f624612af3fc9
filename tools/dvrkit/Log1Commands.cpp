// dvrkit log1: write and dump first-generation log files (FOLDER/YYYYMM.log, 168-byte entries).
#include <charconv>
#include <iostream>
#include <string>

#include "log1/CLogManager.h"
#include "log1/EntryFileUnits.h"
#include "log1/EntryRecord.h"
#include "log2/LogFileReader.h"
#include "module/FixedText.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/Csv.h"
#include "tools/dvrkit/MonthFileInput.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

[[noreturn]] void Refuse(int line, const std::string& why) {
    throw CommandError{"line " + std::to_string(line) + ": " + why + "; nothing after it was run"};
}

DWORD Number(const std::string& text, int line, const char* field) {
    DWORD value = 0;
    const auto [end, err] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || err != std::errc() || end != text.data() + text.size())
        Refuse(line, std::string(field) + " '" + text + "' is not a number from 0 to 4294967295");
    return value;
}

// Unix seconds, or "YYYY-MM-DD HH:MM:SS" in local time.
DWORD Time(const std::string& text, int line, const char* field) {
    const auto time = ParseTimeValue(text);
    if (!time) Refuse(line, std::string(field) + " '" + text + "' is not a time");
    return *time;
}

// One line of the operations: "save,NAME,TYPE,TIME,UPDATETIME,FLAG,TEXT" or "update,NAME,TYPE,VALUE".
void RunLine(CLogManager& writer, const std::string& text, int line) {
    const auto fields = SplitCsvLine(text);
    if (!fields) Refuse(line, "a quoted field is not closed");
    const auto& f = *fields;
    const std::string op = f.empty() ? "" : f[0].text;
    if (op == "save" && f.size() == 7) {
        const DWORD type = Number(f[2].text, line, "TYPE"), time = Time(f[3].text, line, "TIME");
        const DWORD update = Time(f[4].text, line, "UPDATETIME"), flag = Number(f[5].text, line, "FLAG");
        // An empty text field stands for no text: the type's label is stored.
        const bool hasText = !f[6].text.empty() || f[6].quoted;
        if (!writer.WriteLog(f[1].text.c_str(), type, time, update, flag, hasText ? f[6].text.c_str() : nullptr))
            Refuse(line, "the entry was not written: " + writer.LastRefusal());
    } else if (op == "update" && f.size() == 4) {
        const DWORD type = Number(f[2].text, line, "TYPE"), value = Time(f[3].text, line, "VALUE");
        std::cout << writer.UpdateLog(f[1].text.c_str(), type, value) << "\n";
    } else {
        Refuse(line, "expected save,NAME,TYPE,TIME,UPDATETIME,FLAG,TEXT or update,NAME,TYPE,VALUE");
    }
}

void WriteEntries(std::string dir) {
    if (dir.empty()) throw CommandError{"the log folder is empty: nothing was written"};
    if (dir.back() != '/') dir += '/';
    if (dir.size() + 10 >= entryfile::kMaxPath) throw CommandError{"the log folder's path is too long: nothing was written"};
    CLogManager writer;
    writer.SetSavePath(dir.c_str());
    std::string text;
    for (int line = 1; std::getline(std::cin, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (!text.empty()) RunLine(writer, text, line);
    }
}

nlohmann::json EntryJson(const _LOG_RECORD_V1_& e, size_t offset) {
    return {{"offset", offset}, {"time", e.time}, {"local", LocalTimeText(e.time)}, {"updateTime", e.updateTime},
            {"name", std::string(ReadFixedText(e.name))}, {"type", e.type}, {"flag", e.flag},
            {"text", std::string(ReadFixedText(e.text))}};
}

void DumpEntries(const std::string& path, bool json) {
    const MonthFileInput input = ReadMonthFileInput(path, EntryFileUnits());
    RefuseDamage(input, EntryFileUnits(), &LogFileUnits());
    const auto& bytes = input.bytes;
    const std::uint64_t whole = input.scan.units, torn = bytes.size() - input.scan.end;
    nlohmann::json entries = nlohmann::json::array();
    if (!json) std::cout << "file " << path << ": " << bytes.size() << " bytes, " << whole << " entries\n";
    for (std::uint64_t i = 0; i < whole; ++i) {
        const _LOG_RECORD_V1_ e = entryfile::DecodeEntry(bytes.data() + i * entryfile::kRecordSize);
        if (json) {
            entries.push_back(EntryJson(e, i * entryfile::kRecordSize));
            continue;
        }
        std::cout << "entry " << i + 1 << ": time " << e.time << " (" << LocalTimeText(e.time) << ") update "
                  << e.updateTime << (e.updateTime ? " (" + LocalTimeText(e.updateTime) + ")" : std::string(" (pending)"))
                  << " name " << QuoteText(ReadFixedText(e.name)) << " type " << e.type << " flag " << e.flag
                  << " text " << QuoteText(ReadFixedText(e.text)) << "\n";
    }
    if (json) return PrintJson({{"file", path}, {"size", bytes.size()}, {"entries", entries}, {"tornBytes", torn}});
    if (torn) std::cout << torn << " bytes of a torn entry at the end\n";
}

void AddLog1Commands(CLI::App& app) {
    CLI::App* log1 = app.add_subcommand("log1", "First-generation log files (FOLDER/YYYYMM.log, 168-byte entries)");
    log1->require_subcommand(1);

    static std::string dir;
    CLI::App* w = log1->add_subcommand(
        "write", "Run save and update lines from stdin in one process; prints 1 or 0 for each update");
    w->add_option("DIR", dir, "Log folder")->required();
    w->footer("Lines: save,NAME,TYPE,TIME,UPDATETIME,FLAG,TEXT or update,NAME,TYPE,VALUE. Times are Unix seconds or\n"
              "\"YYYY-MM-DD HH:MM:SS\" local time; an empty TEXT stores the type's label. A bad line stops the run.");
    w->callback([] { WriteEntries(dir); });

    static std::string file;
    static bool json = false;
    CLI::App* d = log1->add_subcommand("dump", "Print every entry of a first-generation month file");
    d->add_option("FILE", file, "Month file (- for standard input)")->required();
    d->add_flag("--json", json, "Print JSON");
    d->callback([] { DumpEntries(file, json); });

    AddLog1BrowseCommands(*log1);
}

const CommandGroups::Add registration(15, AddLog1Commands);

}  // namespace
