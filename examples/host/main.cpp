// A small host of the library, built against the installed package as a recorder's application
// is. It registers its own string table and icon strip, writes a second-generation log, an event
// and a first-generation entry into a folder, reads each back through the browsers' data cores,
// and prints the texts the browsers would show. It exits 0 only when every text is in the host's
// own words (a string the host lacks showing as its identifier) and the browsers' icons are the
// host's.
//
//     dvrkit-example-host FOLDER
#include <dvrkit/event/CEventManager.h>
#include <dvrkit/event/EventMonthData.h>
#include <dvrkit/event/EventText.h>
#include <dvrkit/log1/CLogManager.h>
#include <dvrkit/log1/EntryMonthData.h>
#include <dvrkit/log1/EntryText.h>
#include <dvrkit/log2/CLogManager2.h>
#include <dvrkit/log2/LogFileFormat.h>
#include <dvrkit/log2/LogMonthData.h>
#include <dvrkit/log2/LogTextRenderer.h>
#include <dvrkit/module/BrowserControls.h>
#include <dvrkit/module/HostContract.h>
#include <dvrkit/module/LibraryModule.h>
#include <dvrkit/module/MonthFile.h>
#include <dvrkit/platform/core/CTime.h>
#include <dvrkit/platform/gdi/CDC.h>
#include <dvrkit/platform/gdi/PngWriter.h>
#include <dvrkit/platform/gdi/StockObjects.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "HostResources.h"

namespace {

void Require(bool holds, const std::string& what) {
    if (!holds) throw std::runtime_error(what);
}

// Shows a rendered text and checks that it holds each of the host's words.
void Check(const std::string& what, const std::string& text, std::initializer_list<std::string> words) {
    std::cout << "--- " << what << "\n" << text << "\n";
    for (const std::string& word : words) Require(text.find(word) != std::string::npos, what + " lacks \"" + word + "\"");
}

YearMonth MonthOf(DWORD time) {
    const CTime t(time);
    return {t.GetYear(), t.GetMonth()};
}

void LogRoundTrip(const std::string& folder) {
    CLogManager2 logs;
    logs.Init(folder.c_str());
    const DWORD log = logs.CreateLog("Example host", 1);
    logs.AddLogRecord2(log, 1, 1, kFormatKeyOnly, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, nullptr, nullptr);
    logs.AddLogRecord2(log, 1, 4, kFormatValuesTexts, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, "admin", nullptr);
    // A record whose format this host's table lacks.
    logs.AddLogRecord2(log, 1, 2, kFormatKeyOnly, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, LOG_VALUE_NONE, nullptr, nullptr);
    Require(logs.UpdateLog(log, 1) != 0, "the log was not written to " + folder);
    Require(std::filesystem::exists(MonthFilePath(folder, MonthOf(log), logfile::kExtension)), "no month file for the log");

    CLogMonthData month;
    Require(month.Load(folder, MonthOf(log)) == LogMonthLoad::loaded, "the log month could not be read back");
    Require(month.Logs().GetSize() == 1, "the month holds another number of logs than 1");
    Check("log", CLogTextRenderer().LogTextBlock(month, month.Logs()[0]),
          {"Opened: ", "Log: Example host", "Entries: ", "Recorder powered up", "Operator admin signed in", "[string 7326]"});
}

void EventRoundTrip(const std::string& folder) {
    const DWORD now = CTime::GetCurrentTime().GetTime();
    CEventManager events;
    events.Init(folder.c_str());
    events.AddEventLog(3, 3, kSourceCamera, now, kSideServer, "Front door");

    CEventMonthData month;
    Require(month.Load(folder, MonthOf(now)) == EventMonthLoad::loaded, "the event month could not be read back");
    Require(month.Events().GetSize() == 1, "the month holds another number of events than 1");
    Check("event", EventPaneText(month.Events()[0]), {"Camera saw motion at Front door\r\nSiren on\r\n"});
}

void EntryRoundTrip(const std::string& folder) {
    // First-generation month files are named as the second generation's: they get a folder of their own.
    const std::string entries = folder + "/log1";
    std::filesystem::create_directory(entries);
    const DWORD now = CTime::GetCurrentTime().GetTime();
    CLogManager writer;
    writer.SetSavePath((entries + "/").c_str());
    writer.SaveLog("Example host", 0, now, now + 60, 1, nullptr);

    CEntryMonthData month;
    month.SetFolder(entries + "/");
    Require(month.Load(MonthOf(now)) == EntryMonthLoad::loaded, "the first-generation month could not be read back");
    Require(month.Entries().GetSize() == 1, "the month holds another number of entries than 1");
    Check("first-generation entry", EntryPaneText(month.Entries()[0]),
          {"Opened: ", "Closed: ", "Log: Example host", "Kind: Power", "Marked: yes", "Entries: Power"});
}

// The browsers make their image list from the host's strip: its icons, in its colours.
void IconsAreTheHosts(const std::string& folder) {
    const auto icons = browser::HostIcons(ILC_COLOR24);
    Require(icons && icons->GetImageCount() == ExampleHostResources::kIconCount, "the browsers' icons are not the host's strip");
    CSurface surface(host::kIconSize, host::kIconSize, PixelFromColor(GetSysColor(COLOR_WINDOW)));
    CDC dc;
    dc.AttachSurface(&surface);
    icons->Draw(&dc, host::kDayIcon, {0, 0}, ILD_NORMAL);
    Require(ColorFromPixel(surface.At(8, 8)) == ExampleHostResources::IconColor(host::kDayIcon),
            "the day icon is not drawn in the host's colour");
    SaveSurfacePng(surface, folder + "/day-icon.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: dvrkit-example-host FOLDER\n";
        return 1;
    }
    const std::string folder = argv[1];
    static const ExampleHostResources resources;
    AfxAddResourceModule(&resources);
    try {
        Require(std::string(AfxFindString(7325) ? AfxFindString(7325) : "") == "Recorder powered up",
                "the host's string table is not found through the resource chain");
        LogRoundTrip(folder);
        EventRoundTrip(folder);
        EntryRoundTrip(folder);
        IconsAreTheHosts(folder);
    } catch (const std::exception& e) {
        std::cerr << "dvrkit-example-host: " << e.what() << "\n";
        return 1;
    }
    std::cout << "dvrkit " << DvrkitVersion() << ": the host's texts and icons read back\n";
    return 0;
}
