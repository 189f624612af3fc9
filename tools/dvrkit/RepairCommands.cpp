// dvrkit log2 repair, dvrkit event repair: keep what comes before the damage of a month file.
#include <iostream>
#include <string>

#include "event/EventFileRepair.h"
#include "log2/LogFileRepair.h"
#include "tools/dvrkit/Commands.h"

namespace {

void Report(const std::string& path, const MonthFileRepair& repair, const char* unit) {
    if (!repair.repaired) {
        std::cout << path << " is whole: nothing to repair\n";
        return;
    }
    std::cout << path << ": " << repair.damage << "; kept " << repair.kept << " " << unit << ", dropped "
              << repair.dropped << " bytes; the damaged file is kept as " << repair.damagedCopy << "\n";
}

void RepairLog(const std::string& path) {
    try {
        Report(path, RepairLogFile(path), "blocks");
    } catch (const LogFileNotALog&) {
        throw CommandError{path + ": not a log file: bad header mark at offset 4; left as it is", 2};
    }
}

void AddRepairCommands(CLI::App& app) {
    static std::string logFile, eventFile;
    CLI::App* log = app.get_subcommand("log2")->add_subcommand(
        "repair", "Keep every whole block before the damage of a month file; the damaged file is kept beside it");
    log->add_option("FILE", logFile, "Month file")->required();
    log->callback([] { RepairLog(logFile); });

    CLI::App* event = app.get_subcommand("event")->add_subcommand(
        "repair", "Keep every marked record before the damage of an event file; the damaged file is kept beside it");
    event->add_option("FILE", eventFile, "Event file")->required();
    event->callback([] { Report(eventFile, RepairEventFile(eventFile), "records"); });
}

// After the log2 (10) and event (20) groups, which it adds to.
const CommandGroups::Add registration(25, AddRepairCommands);

}  // namespace
