// The journal over one month file of any of the three families (the input's first byte chooses
// it): indexed, walked both ways with every unit rendered, its cursors taken and sought again.
#include <algorithm>
#include <cstdio>
#include <string>

#include "event/EventJournal.h"
#include "fuzz/EventFuzz.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzTarget.h"
#include "log1/EntryJournal.h"
#include "log2/LogFileFormat.h"
#include "log2/LogJournal.h"
#include "module/Journal.h"

namespace {

const JournalFamily& FamilyOf(std::uint8_t choice) {
    switch (choice % 3) {
        case 0: return LogJournalFamily();
        case 1: return EventJournalFamily();
        default: return EntryJournalFamily();
    }
}

void Walk(Journal& journal) {
    JournalText text;
    std::string cursor;
    while (journal.Next()) {
        journal.Render(text);
        cursor = journal.Cursor();
    }
    journal.SeekCursor(cursor);
    journal.SeekTime(eventfuzz::kFirstOfMonth + 86400);
    while (journal.Previous()) journal.Render(text);
    journal.TakeFaults();
}

// Two logs of April 2005, their records of every format.
std::vector<std::uint8_t> LogFile() {
    std::vector<std::uint8_t> file(logfile::kFileHeaderSize);
    logfile::EncodeFileHeader(file.data(), 2);
    for (DWORD i = 0; i < 2; ++i) {
        const _LOG_HEADER_ head{eventfuzz::kFirstOfMonth + 86400 * (2 - i), 0, 3, 1, 0, "seed"};
        file.resize(file.size() + logfile::kLogHeaderSize);
        logfile::EncodeLogHeader(file.data() + file.size() - logfile::kLogHeaderSize, head);
        for (BYTE format = 0; format < 3; ++format) {
            const _LOG_RECORD_MEMORY_ record{1, 1, 1, format, 1, 2, 3, 4, "one", "two", 0};
            file.resize(file.size() + logfile::StoredRecordSize(format));
            logfile::EncodeRecord(file.data() + file.size() - logfile::StoredRecordSize(format), record);
        }
        file.push_back(logfile::kMark);
    }
    return file;
}

std::vector<std::uint8_t> Chosen(std::uint8_t choice, const std::vector<std::uint8_t>& file) {
    std::vector<std::uint8_t> seed(file.size() + 1, choice);
    std::copy(file.begin(), file.end(), seed.begin() + 1);
    return seed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const JournalFamily& family = FamilyOf(data[0]);
    const std::string& folder = FuzzFolder("journal");
    for (const char* extension : {"log", "evt"}) std::remove((folder + "/200504." + extension).c_str());
    if (!WriteFuzzFile(folder + "/200504." + family.extension, data + 1, size - 1)) return 0;
    Journal journal(family);
    if (journal.Open(folder)) Walk(journal);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    std::vector<std::vector<std::uint8_t>> seeds{Chosen(0, LogFile())};
    for (const auto& events : eventfuzz::Seeds()) seeds.push_back(Chosen(1, events));
    return seeds;
}
