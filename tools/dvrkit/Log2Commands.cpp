// dvrkit log2: write and dump second-generation log files.
#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "log2/CLogManager2.h"
#include "log2/LogFileFormat.h"
#include "log1/EntryFileUnits.h"
#include "log2/LogFileReader.h"
#include "module/FixedText.h"
#include "module/MonthFile.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/Csv.h"
#include "tools/dvrkit/MonthFileInput.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct CsvRecord {
    BYTE category, code, format;
    DWORD values[4];
    std::string texts[2];
    bool hasText[2];
};

DWORD ParseNumber(const std::string& text, DWORD max, int line, const char* field) {
    if (text.empty()) return LOG_VALUE_NONE;
    DWORD value = 0;
    const auto [end, err] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (err != std::errc() || end != text.data() + text.size() || value > max)
        throw CommandError{"line " + std::to_string(line) + ": " + field + " '" + text + "' is not a number from 0 to " +
                           std::to_string(max)};
    return value;
}

BYTE ParseByte(const std::string& text, int line, const char* field) {
    if (text.empty()) throw CommandError{"line " + std::to_string(line) + ": " + field + " is empty"};
    return static_cast<BYTE>(ParseNumber(text, 255, line, field));
}

CsvRecord ParseRecordLine(const std::string& text, int line) {
    const auto fields = SplitCsvLine(text);
    if (!fields) throw CommandError{"line " + std::to_string(line) + ": a quoted field is not closed"};
    if (fields->size() != 9)
        throw CommandError{"line " + std::to_string(line) + ": expected 9 fields " +
                           "(category,code,format,value1,value2,value3,value4,text1,text2), found " +
                           std::to_string(fields->size())};
    const auto& f = *fields;
    CsvRecord r{};
    r.category = ParseByte(f[0].text, line, "category");
    r.code = ParseByte(f[1].text, line, "code");
    r.format = ParseByte(f[2].text, line, "format");
    static const char* kValueNames[] = {"value1", "value2", "value3", "value4"};
    for (int i = 0; i < 4; ++i) r.values[i] = ParseNumber(f[3 + i].text, 0xFFFFFFFF, line, kValueNames[i]);
    for (int i = 0; i < 2; ++i) {
        r.texts[i] = f[7 + i].text;
        r.hasText[i] = !r.texts[i].empty();
    }
    return r;
}

// The writer's own reason; it says why even where a folder is missing or the log is empty.
std::string WhyNotWritten(const std::string& dir, DWORD handle, const std::string& refusal) {
    return std::string(MonthFileName(dir.c_str(), handle, logfile::kExtension).c_str()) + ": the log was not written" +
           (refusal.empty() ? "" : ": " + refusal);
}

void WriteLogFromCsv(const std::string& dir, const std::string& name, int type, int result, bool json) {
    std::vector<CsvRecord> records;
    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number)
        if (!line.empty() && line != "\r") records.push_back(ParseRecordLine(line, number));

    CLogManager2 manager;
    manager.Init(dir.c_str());
    const DWORD handle = manager.CreateLog(name.c_str(), static_cast<BYTE>(type));
    for (const CsvRecord& r : records)
        manager.AddLogRecord2(handle, r.category, r.code, r.format, r.values[0], r.values[1], r.values[2],
                              r.values[3], r.hasText[0] ? r.texts[0].c_str() : nullptr,
                              r.hasText[1] ? r.texts[1].c_str() : nullptr);
    if (!manager.UpdateLog(handle, static_cast<BYTE>(result))) throw CommandError{WhyNotWritten(dir, handle, manager.LastRefusal())};
    if (json)
        PrintJson({{"handle", handle}, {"records", records.size()},
                   {"file", MonthFileName(dir.c_str(), handle, logfile::kExtension).str()}});
    else
        std::cout << handle << "\n";
}

nlohmann::json RecordJson(const _LOG_RECORD_MEMORY_& r) {
    nlohmann::json j = {{"type", r.type}, {"category", r.category}, {"code", r.code}, {"format", r.format}};
    if (r.format == kFormatKeyOnly) return j;
    j["values"] = {r.value1, r.value2, r.value3, r.value4};
    if (r.format != kFormatValuesTexts) return j;
    j["text1"] = std::string(ReadFixedText(r.text1));
    j["text2"] = std::string(ReadFixedText(r.text2));
    return j;
}

nlohmann::json BlockJson(const LogBlock& block) {
    const _LOG_HEADER_& h = block.header;
    nlohmann::json records = nlohmann::json::array();
    for (const auto& r : block.records) records.push_back(RecordJson(r));
    return {{"offset", block.offset}, {"handle", h.handle}, {"start", LocalTimeText(h.handle)},
            {"endTime", h.endTime}, {"recordCount", h.recordCount}, {"type", h.type},
            {"result", h.result}, {"name", std::string(ReadFixedText(h.name))}, {"records", records}};
}

void PrintRecord(size_t index, const _LOG_RECORD_MEMORY_& r) {
    std::cout << "  record " << index << ": type " << int(r.type) << " category " << int(r.category) << " code "
              << int(r.code) << " format " << int(r.format);
    if (r.format != kFormatKeyOnly)
        std::cout << " values " << r.value1 << " " << r.value2 << " " << r.value3 << " " << r.value4;
    if (r.format == kFormatValuesTexts)
        std::cout << " text1 " << QuoteText(ReadFixedText(r.text1)) << " text2 " << QuoteText(ReadFixedText(r.text2));
    std::cout << "\n";
}

void PrintBlock(size_t index, const LogBlock& block) {
    const _LOG_HEADER_& h = block.header;
    std::cout << "block " << index << " at offset " << block.offset << ": handle " << h.handle << " ("
              << LocalTimeText(h.handle) << ") end " << h.endTime;
    if (h.endTime) std::cout << " (" << LocalTimeText(h.endTime) << ")";
    std::cout << " records " << h.recordCount << " type " << int(h.type) << " result " << int(h.result) << " name "
              << QuoteText(ReadFixedText(h.name)) << "\n";
    for (size_t i = 0; i < block.records.size(); ++i) PrintRecord(i + 1, block.records[i]);
}

void DumpLogFile(const std::string& path, bool json) {
    const MonthFileInput input = ReadMonthFileInput(path, LogFileUnits());
    const auto& bytes = input.bytes;
    const LogFileContents contents = ParseLogFile(bytes);
    if (json) {
        nlohmann::json blocks = nlohmann::json::array();
        for (const auto& b : contents.blocks) blocks.push_back(BlockJson(b));
        nlohmann::json out = {{"file", path}, {"size", bytes.size()}, {"blockCount", contents.blockCount},
                              {"blocks", blocks}, {"trailingBytes", contents.trailingBytes}};
        if (input.scan.damage)
            out["damage"] = {{"offset", input.scan.damage->offset}, {"reason", input.scan.damage->reason}};
        PrintJson(out);
    } else {
        std::cout << "file " << path << ": " << bytes.size() << " bytes, block count " << contents.blockCount << "\n";
        for (size_t i = 0; i < contents.blocks.size(); ++i) PrintBlock(i + 1, contents.blocks[i]);
        if (contents.trailingBytes)
            std::cout << contents.trailingBytes << " bytes follow the last counted block\n";
    }
    RefuseDamage(input, LogFileUnits(), &EntryFileUnits());
}

void AddLog2Commands(CLI::App& app) {
    CLI::App* log2 = app.add_subcommand("log2", "Second-generation system log files (FOLDER/YYYYMM.log)");
    log2->require_subcommand(1);

    CLI::App* write = log2->add_subcommand(
        "write", "Write one log: records as CSV lines on standard input "
                 "(category,code,format,value1,value2,value3,value4,text1,text2; an empty number or text is none); "
                 "prints the log's handle");
    static std::string dir, name;
    static int type = 1, result = 0;
    static bool writeJson = false;
    write->add_option("DIR", dir, "Log folder")->required();
    write->add_option("--name", name, "Log name (cut to 21 characters)")->required();
    write->add_option("--type", type, "Log type, 0 to 255")->required()->check(CLI::Range(0, 255));
    write->add_option("--result", result, "Result byte, 0 to 255")->required()->check(CLI::Range(0, 255));
    write->add_flag("--json", writeJson, "Print the handle, record count and file as JSON");
    write->callback([] { WriteLogFromCsv(dir, name, type, result, writeJson); });

    CLI::App* dump = log2->add_subcommand("dump", "Print a month file: header, blocks and records; exit 2 if damaged");
    static std::string file;
    static bool json = false;
    dump->add_option("FILE", file, "Month file (- for standard input)")->required();
    dump->add_flag("--json", json, "Print JSON");
    dump->callback([] { DumpLogFile(file, json); });

    AddLog2BrowseCommands(*log2);
}

const CommandGroups::Add registration(10, AddLog2Commands);

}  // namespace
