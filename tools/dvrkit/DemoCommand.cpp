// dvrkit demo: the demo host. Fills a folder with a realistic month of logs and events, opens the
// log browser and the event browser on it, then the calendar.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <string>

#include "tools/dvrkit/BrowserView.h"
#include "tools/dvrkit/CalendarView.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/DemoMonth.h"
#include "tools/dvrkit/ViewRunner.h"

namespace {

struct DemoWindow {
    const char* name;
    const char* state;  // what the snapshot shows
    ViewSpec spec;
    const char* file;   // the snapshot's name in the demo folder
};

std::string FreshFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dvrkit-demo-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw CommandError{"cannot create a folder for the demo under " + pattern};
    return pattern;
}

void RunDemo(std::string dir) {
    if (dir.empty()) dir = FreshFolder();
    std::filesystem::create_directories(dir);
    const DemoSummary summary = WriteDemoMonth(dir);
    std::cout << "dvrkit demo: wrote a month of logs and events into " << dir << "\n"
              << "  " << summary.logs << " logs with " << summary.records << " records in " << summary.logFiles
              << "\n"
              << "  " << summary.events << " events in " << summary.eventFiles << "\n"
              << "  " << summary.entries << " first-generation entries (" << summary.pendingEntries
              << " left pending) in " << summary.entryFiles
              << " (a folder of their own: their month files are also named YYYYMM.log)\n"
              << "Look at them with:\n"
              << "  dvrkit log2 dump " << summary.logFiles << "\n"
              << "  dvrkit event dump " << summary.eventFiles << "\n"
              << "  dvrkit view log2 " << dir << "\n"
              << "  dvrkit view event " << dir << "\n"
              << "  dvrkit log1 dump " << summary.entryFiles << "\n"
              << "  dvrkit view log1 " << summary.entryFolder << "\n";
    // The host's windows one after the other: real windows where there is a display, else
    // pictures beside the files.
    const DemoWindow windows[] = {
        {"log browser", "opened on the latest day", Log2ViewSpec(dir), "log-browser.png"},
        {"event browser", "opened on the latest day", EventViewSpec(dir), "event-browser.png"},
        {"first-generation log browser", "opened on the latest day", Log1ViewSpec(summary.entryFolder),
         "log1-browser.png"},
        {"calendar", "with today clicked", CalendarHostViewSpec(CTime::GetCurrentTime()), "calendar.png"},
    };
    for (const DemoWindow& window : windows) {
        if (CanShowWindows()) {
            const bool last = &window == &windows[std::size(windows) - 1];
            std::cout << "Opening the " << window.name << "; close its window to " << (last ? "end the demo" : "go on")
                      << ".\n"
                      << std::flush;
            RunView(window.spec, "");
        } else {
            const std::string snapshot = dir + "/" + window.file;
            RunView(window.spec, snapshot);
            std::cout << "No display: the " << window.name << ", " << window.state << ", is drawn in " << snapshot
                      << "\n";
        }
    }
}

void AddDemoCommand(CLI::App& app) {
    static std::string dir;
    CLI::App* demo = app.add_subcommand("demo", "Run the demo host: fill DIR (or a fresh folder) with a month of logs and events, then open the log browsers, the event browser and the calendar");
    demo->add_option("DIR", dir, "Folder to fill (created if missing)");
    demo->callback([] { RunDemo(dir); });
}

const CommandGroups::Add registration(60, AddDemoCommand);

}  // namespace
