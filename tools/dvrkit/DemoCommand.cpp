// dvrkit demo: the demo host. Fills a folder with a realistic month of logs and events, opens the
// log browser and the event browser on it, then the calendar, then a bitmap the host wrote
// through the bitmap class.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <string>

#include "tools/dvrkit/BrowserView.h"
#include "tools/dvrkit/CalendarView.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/DemoMonth.h"
#include "tools/dvrkit/DibView.h"
#include "tools/dvrkit/OutputFile.h"
#include "tools/dvrkit/ViewRunner.h"

namespace {

struct DemoWindow {
    const char* name;
    const char* state;  // what the snapshot shows
    ViewSpec spec;
    const char* file;   // the snapshot's name in the demo folder
};

// An 8-bit bitmap as a host makes one: a colour table of 256 hues and rings of them, written
// into the folder.
std::string WriteDemoBitmap(const std::string& dir) {
    constexpr int kSize = 160;
    CDib dib(CSize(kSize, kSize), 8);
    BYTE* table = dib.GetColorTable();
    for (int i = 0; i < 256; ++i) {
        BYTE* entry = table + 4 * i;
        entry[0] = static_cast<BYTE>(255 - i);                   // blue
        entry[1] = static_cast<BYTE>(i < 128 ? 2 * i : 510 - 2 * i);  // green
        entry[2] = static_cast<BYTE>(i);                         // red
    }
    dib.BuildPalette();
    if (!dib.MakeSection(nullptr)) throw CommandError{"cannot make the demo bitmap"};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = x - kSize / 2, dy = y - kSize / 2;
            dib.GetBits()[y * kSize + x] = static_cast<BYTE>((dx * dx + dy * dy) / 24 % 256);
        }
    const std::string path = dir + "/demo.bmp";
    OutputFile out(path);
    CFile file;
    if (!file.Open(out.TempPath().c_str(), CFile::modeWrite) || !dib.Write(&file))
        throw CommandError{"cannot write " + path};
    file.Close();
    out.Commit();
    return path;
}

std::string FreshFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dvrkit-demo-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw CommandError{"cannot create a folder for the demo under " + pattern};
    return pattern;
}

void RunDemo(std::string dir) {
    if (dir.empty()) dir = FreshFolder();
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (!std::filesystem::is_directory(dir))
        throw CommandError{"cannot fill " + dir + ": " + (std::filesystem::exists(dir) ? std::strerror(ENOTDIR) : error.message())};
    const DemoSummary summary = WriteDemoMonth(dir);
    const std::string bitmap = WriteDemoBitmap(dir);
    std::cout << "dvrkit demo: wrote a month of logs and events into " << dir << "\n"
              << "  " << summary.logs << " logs with " << summary.records << " records in " << summary.logFiles
              << "\n"
              << "  " << summary.events << " events in " << summary.eventFiles << "\n"
              << "  " << summary.entries << " first-generation entries (" << summary.pendingEntries
              << " left pending) in " << summary.entryFiles
              << " (a folder of their own: their month files are also named YYYYMM.log)\n"
              << "  a bitmap in " << bitmap << "\n"
              << "Look at them with:\n"
              << "  dvrkit log2 dump " << summary.logFiles << "\n"
              << "  dvrkit event dump " << summary.eventFiles << "\n"
              << "  dvrkit view log2 " << dir << "\n"
              << "  dvrkit view event " << dir << "\n"
              << "  dvrkit log1 dump " << summary.entryFiles << "\n"
              << "  dvrkit view log1 " << summary.entryFolder << "\n"
              << "  dvrkit dib info " << bitmap << "\n"
              << "  dvrkit view dib " << bitmap << "\n";
    // The host's windows one after the other: real windows where there is a display, else
    // pictures beside the files.
    const DemoWindow windows[] = {
        {"log browser", "opened on the latest day", Log2ViewSpec(dir), "log-browser.png"},
        {"event browser", "opened on the latest day", EventViewSpec(dir), "event-browser.png"},
        {"first-generation log browser", "opened on the latest day", Log1ViewSpec(summary.entryFolder),
         "log1-browser.png"},
        {"calendar", "with today clicked", CalendarHostViewSpec(CTime::GetCurrentTime()), "calendar.png"},
        {"bitmap", "as the bitmap class paints it", DibViewSpec(bitmap), "dib.png"},
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
    CLI::App* demo = app.add_subcommand("demo", "Run the demo host: fill DIR (or a fresh folder) with a month of logs and events, then open the log browsers, the event browser, the calendar and a bitmap");
    demo->add_option("DIR", dir, "Folder to fill (created if missing)");
    demo->callback([] { RunDemo(dir); });
}

const CommandGroups::Add registration(60, AddDemoCommand);

}  // namespace
