// dvrkit event: append events and dump monthly event files.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>

#include "event/CEventManager.h"
#include "event/EventFileReader.h"
#include "module/FixedText.h"
#include "module/MonthFile.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/EventMarks.h"
#include "tools/dvrkit/FileBytes.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct AddOptions {
    std::string dir, text, time;
    DWORD channel = 0, actions = 0;
    int source = 1, side = 1;
    bool hasText = false;
    bool json = false;
};

DWORD EventTime(const std::string& text) {
    if (text.empty()) return CTime::GetCurrentTime().GetTime();
    const auto time = ParseTimeValue(text);
    if (!time) throw CommandError{"--time: '" + text + "' is neither Unix seconds nor a local time YYYY-MM-DD HH:MM:SS"};
    return *time;
}

void AddEvent(const AddOptions& o) {
    const DWORD time = EventTime(o.time);
    CEventManager manager;
    // The library ignores a folder of fewer than 3 characters, as a guard against one never set;
    // the full path is what the user meant by a short relative one.
    manager.Init(std::filesystem::absolute(o.dir).c_str());
    const std::string file = MonthFileName(o.dir.c_str(), time, eventfile::kExtension).str();
    if (!manager.WriteEventLog(o.channel, o.actions, static_cast<BYTE>(o.source), time, static_cast<BYTE>(o.side),
                               o.hasText ? o.text.c_str() : nullptr))
        throw CommandError{file + ": the event was not written: " + manager.LastRefusal()};
    if (o.json)
        PrintJson({{"file", file}, {"time", time}});
    else
        std::cout << file << "\n";
}

nlohmann::json EventJson(const EventFileEntry& e) {
    const _EVENT_LOG_& ev = e.event;
    return {{"offset", e.offset}, {"valid", e.valid}, {"time", ev.time}, {"local", LocalTimeText(ev.time)},
            {"channel", ev.channel}, {"actions", ev.actions}, {"source", ev.source}, {"side", ev.side},
            {"text", std::string(ReadFixedText(ev.text))}};
}

void DumpEvents(const std::string& path, bool json) {
    const auto bytes = ReadFileBytes(path);
    const EventFileContents contents = ParseEventFile(bytes);
    if (json) {
        nlohmann::json records = nlohmann::json::array(), skipped = nlohmann::json::array();
        for (const auto& e : contents.records) (e.valid ? records : skipped).push_back(EventJson(e));
        PrintJson({{"file", path}, {"size", bytes.size()}, {"records", records}, {"badMarks", skipped},
                   {"trailingBytes", contents.trailingBytes}});
        return ReportUnmarkedRecords(path, contents);
    }
    std::cout << "file " << path << ": " << bytes.size() << " bytes, " << contents.records.size() << " records\n";
    for (size_t i = 0; i < contents.records.size(); ++i) {
        const EventFileEntry& e = contents.records[i];
        if (!e.valid) {
            std::cout << "record " << i + 1 << " at offset " << e.offset << ": no event mark (0x" << std::hex
                      << int(e.event.mark) << std::dec << "), not shown\n";
            continue;
        }
        const _EVENT_LOG_& ev = e.event;
        std::cout << "record " << i + 1 << ": time " << ev.time << " (" << LocalTimeText(ev.time) << ") channel "
                  << ev.channel << " actions " << ev.actions << " source " << int(ev.source) << " side "
                  << int(ev.side) << " text " << QuoteText(ReadFixedText(ev.text)) << "\n";
    }
    if (contents.trailingBytes) std::cout << contents.trailingBytes << " bytes of a cut-off record at the end\n";
    ReportUnmarkedRecords(path, contents);
}

void AddEventCommands(CLI::App& app) {
    CLI::App* event = app.add_subcommand("event", "Event files (FOLDER/YYYYMM.evt)");
    event->require_subcommand(1);

    static AddOptions add;
    CLI::App* a = event->add_subcommand("add", "Append one event to its month file; prints the file's path");
    a->add_option("DIR", add.dir, "Event folder")->required();
    a->add_option("--channel", add.channel, "Camera or sensor number")->required();
    a->add_option("--actions", add.actions, "Action bits")->required();
    a->add_option("--source", add.source, "1 camera, 2 sensor")->required()->check(CLI::Range(0, 255));
    a->add_option("--side", add.side, "1 server, 2 client")->required()->check(CLI::Range(0, 255));
    a->add_option("--time", add.time, "Unix seconds, or local time \"YYYY-MM-DD HH:MM:SS\" (default: now)");
    a->add_option("--text", add.text, "Text, cut to 15 bytes, never inside a UTF-8 character")->each([](const std::string&) { add.hasText = true; });
    a->add_flag("--json", add.json, "Print the file and time as JSON");
    a->callback([] { AddEvent(add); });

    static std::string file;
    static bool json = false;
    CLI::App* d = event->add_subcommand("dump", "Print every record of an event file (- for standard input); exit 2 if no record carries the event mark");
    d->add_option("FILE", file, "Event file (- for standard input)")->required();
    d->add_flag("--json", json, "Print JSON");
    d->callback([] { DumpEvents(file, json); });

    AddEventBrowseCommands(*event);
}

const CommandGroups::Add registration(20, AddEventCommands);

}  // namespace
