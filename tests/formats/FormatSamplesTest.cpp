// Every stored format, written by this build, byte for byte against the files a little-endian
// build wrote (tests/formats/samples/): files written on any processor are read on any other
// unchanged. With DVRKIT_FORMAT_SAMPLES set, the files written are also kept in that folder, for a
// check outside the program (scripts/cross-test.sh compares them on the build machine).
#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "crypt/CDesCrypt.h"
#include "crypt/CryptStatus.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSamples = DVRKIT_FORMAT_SAMPLES_DIR;

// Logs with every kind of value and text, one still open, in one month.
void WriteLogs(const std::string& folder) {
    ScopedClock clock(0);
    WriteTestLog(folder, clock,
                 {.start = CTime(2024, 2, 29, 23, 59, 58),
                  .type = 7,
                  .name = "samples",
                  .records = {{.category = 2, .code = 0x81, .format = 3, .value1 = 0x01020304, .value2 = 0xA0B0C0D0,
                               .text1 = "first"},
                              {.category = 9, .code = 1, .format = 1, .value1 = 0xFFFFFFFE, .value2 = 5, .value3 = 6,
                               .value4 = 7, .text1 = "", .text2 = "second text"}},
                  .end = CTime(2024, 2, 29, 23, 59, 59),
                  .result = 3});
    WriteTestLog(folder, clock, {.start = CTime(2024, 2, 1, 0, 0, 1), .type = 1, .name = "open"});
}

void WriteEvents(const std::string& folder) {
    WriteTestEvent(folder, {.time = CTime(2024, 3, 1, 0, 0, 0), .channel = 0x10203, .actions = 0x80000001,
                            .source = 4, .side = 2, .text = "door"});
    WriteTestEvent(folder, {.time = CTime(2024, 3, 31, 23, 59, 59), .channel = 1, .text = ""});
}

void WriteEntries(const std::string& folder) {
    WriteTestEntry(folder, {.time = CTime(2024, 4, 30, 12, 0, 0), .type = 3, .name = "camera 1",
                            .updateTime = 0x12345678, .flag = 1, .text = "motion"});
    WriteTestEntry(folder, {.time = CTime(2024, 4, 1, 0, 0, 0), .type = 0, .name = "", .text = nullptr});
}

// A container with chunk CRCs and one without, of a text longer than one cipher block.
void WriteContainers(const std::string& folder) {
    const std::string plain = folder + "/plain.txt";
    std::vector<std::uint8_t> text;
    for (int i = 0; i < 1000; ++i) text.push_back(static_cast<std::uint8_t>(i * 7 + (i >> 8)));
    WriteBytes(plain, text);
    unsigned char key[] = "sample key";
    for (bool crc : {true, false}) {
        const std::string out = folder + (crc ? "/with-crc.dat" : "/without-crc.dat");
        EXPECT_EQ(CDesCrypt().EncryptF(crc, plain.c_str(), out.c_str(), key), cryptstatus::kOk);
    }
    fs::remove(plain);
}

// The regular files under `root`, by their path below it.
std::vector<fs::path> FilesBelow(const fs::path& root) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), root));
    std::sort(files.begin(), files.end());
    return files;
}

struct Format {
    const char* name;
    void (*write)(const std::string& folder);
};

void PrintTo(const Format& format, std::ostream* out) { *out << format.name; }

class FormatSamples : public testing::TestWithParam<Format> {};

TEST_P(FormatSamples, AreWrittenByteForByteAsTheLittleEndianBuildWroteThem) {
    const ScopedTz tz("UTC");
    TempDir dir;
    GetParam().write(dir.path());
    if (const char* keep = std::getenv("DVRKIT_FORMAT_SAMPLES")) {
        const fs::path to = fs::path(keep) / GetParam().name;
        fs::create_directories(to);
        fs::copy(dir.path(), to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
    const fs::path expected = kSamples / GetParam().name;
    ASSERT_EQ(FilesBelow(dir.path()), FilesBelow(expected));
    for (const fs::path& file : FilesBelow(expected))
        EXPECT_EQ(ReadBytes(dir.file(file.string())), ReadBytes(expected / file)) << file;
}

INSTANTIATE_TEST_SUITE_P(Stored, FormatSamples,
                         testing::Values(Format{"log2", WriteLogs}, Format{"event", WriteEvents},
                                         Format{"log1", WriteEntries}, Format{"crypt", WriteContainers}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
