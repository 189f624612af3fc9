#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include "event/CEventManager.h"
#include "log1/CLogManager.h"

DWORD WriteTestLog(CLogManager2& writer, ScopedClock& clock, const TestLog& log) {
    clock.Set(log.start.GetTime());
    const DWORD handle = writer.CreateLog(log.name.c_str(), log.type);
    for (const TestLogRecord& r : log.records) {
        EXPECT_EQ(writer.AddLogRecord2(handle, r.category, r.code, r.format, r.value1, r.value2, r.value3, r.value4,
                                       r.text1, r.text2),
                  1)
            << "a record of log \"" << log.name << "\" was refused";
    }
    if (log.end) {
        clock.Set(log.end->GetTime());
        EXPECT_EQ(writer.UpdateLog(handle, log.result), 1) << "log \"" << log.name << "\" was not written";
    } else {
        EXPECT_EQ(writer.WriteLog(handle), 1) << "open log \"" << log.name << "\" was not written";
    }
    return handle;
}

DWORD WriteTestLog(const std::string& folder, ScopedClock& clock, const TestLog& log) {
    CLogManager2 writer;
    writer.Init(folder.c_str());
    return WriteTestLog(writer, clock, log);
}

void WriteTestEvent(const std::string& folder, const TestEvent& event) {
    CEventManager writer;
    writer.Init(folder.c_str());
    writer.AddEventLog(event.channel, event.actions, event.source, event.time.GetTime(), event.side,
                       event.text.c_str());
}

void WriteTestEntry(const std::string& folder, const TestEntry& entry) {
    CLogManager writer;
    writer.SetSavePath((folder + "/").c_str());
    writer.SaveLog(entry.name.c_str(), entry.type, entry.time.GetTime(), entry.updateTime, entry.flag, entry.text);
}

std::vector<_LOG_RECORD_V1_> ReadTestEntries(const std::string& path) {
    const auto bytes = ReadBytes(path);
    std::vector<_LOG_RECORD_V1_> entries;
    for (size_t at = 0; at + entryfile::kRecordSize <= bytes.size(); at += entryfile::kRecordSize)
        entries.push_back(entryfile::DecodeEntry(bytes.data() + at));
    return entries;
}

std::vector<std::string> StoredEntryNames(const std::string& path) {
    std::vector<std::string> names;
    for (const _LOG_RECORD_V1_& e : ReadTestEntries(path)) names.emplace_back(e.name);
    return names;
}
