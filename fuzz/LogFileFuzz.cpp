// The monthly log file: parsed in memory, loaded by the browser's data from a file, and every
// loaded log rendered as text.
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzTarget.h"
#include "log2/CLogManager2.h"
#include "log2/LogFileReader.h"
#include "log2/LogMonthData.h"
#include "log2/LogTextRenderer.h"
#include "module/MonthFileScan.h"

namespace {

const std::string& Folder() { return FuzzFolder("log"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseLogFile({data, size});
    for (const ScanRule rule : {ScanRule::writer, ScanRule::reader})
        ScanMonthBytes(LogFileUnits(), "fuzz/200504.log", {data, size}, rule);

    if (!WriteFuzzFile(Folder() + "/200504.log", data, size)) return 0;
    CLogMonthData month;
    month.Load(Folder(), {2005, 4});
    CLogTextRenderer renderer;
    for (const LocalDay& day : month.Days()) month.GroupDay(day);
    renderer.MonthText(month);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    CLogManager2 writer;
    writer.Init(Folder().c_str());
    std::remove((Folder() + "/200504.log").c_str());
    // Logs of every type with records of every format and every render form's key.
    for (BYTE type = 1; type <= 9; ++type) {
        const DWORD h = writer.CreateLog("seed", type);
        for (BYTE code = 1; code <= 12; ++code)
            writer.AddLogRecord2(h, static_cast<BYTE>(1 + code % 9), code, static_cast<BYTE>(code % 3), 1, 1112436000, 3, 0x8005,
                                 "text one", "t");
        writer.UpdateLog(h, 1);
    }
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        std::FILE* f = std::fopen(entry.path().c_str(), "rb");
        std::vector<std::uint8_t> bytes(std::filesystem::file_size(entry.path()));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        seeds.push_back(std::move(bytes));
    }
    seeds.push_back({1, 0, 0, 0, 0x0A});
    return seeds;
}
