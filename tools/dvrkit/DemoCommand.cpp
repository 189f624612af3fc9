// dvrkit demo: the demo host. Fills a folder with a realistic month of logs and events and opens
// the log browser on it.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/DemoMonth.h"
#include "tools/dvrkit/ViewRunner.h"

namespace {

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
              << "Look at them with:\n"
              << "  dvrkit log2 dump " << summary.logFiles << "\n"
              << "  dvrkit event dump " << summary.eventFiles << "\n"
              << "  dvrkit view log2 " << dir << "\n";
    // The host's browser on the folder: a real window where there is a display, else a picture.
    if (CanShowWindows()) {
        std::cout << "Opening the log browser; close its window to end the demo.\n" << std::flush;
        RunView(Log2ViewSpec(dir), "");
    } else {
        const std::string snapshot = dir + "/log-browser.png";
        RunView(Log2ViewSpec(dir), snapshot);
        std::cout << "No display: the log browser, opened on the latest day, is drawn in " << snapshot << "\n";
    }
}

}  // namespace

void AddDemoCommand(CLI::App& app) {
    static std::string dir;
    CLI::App* demo = app.add_subcommand("demo", "Run the demo host: fill DIR (or a fresh folder) with a month of logs and events");
    demo->add_option("DIR", dir, "Folder to fill (created if missing)");
    demo->callback([] { RunDemo(dir); });
}
