#pragma once
// Builders of the data a host writes, for tests: a log opened at a local time, with its
// records and its end, and an event at a local time. Each is written through the library's
// own writer, as a host writes it.
#include <optional>
#include <string>
#include <vector>

#include "log1/EntryRecord.h"
#include "log2/CLogManager2.h"
#include "tests/support/TempDir.h"

// One record of a test log: the writer's arguments.
struct TestLogRecord {
    BYTE category = 1, code = 1, format = 1;
    DWORD value1 = 0, value2 = LOG_VALUE_NONE, value3 = LOG_VALUE_NONE, value4 = LOG_VALUE_NONE;
    const char* text1 = nullptr;
    const char* text2 = nullptr;
};

// A log opened at `start` (local time) with `records`, then closed at `end` with `result`;
// without an end it is written still open, and its block has no end time.
struct TestLog {
    CTime start;
    BYTE type = 1;
    std::string name = "log";
    std::vector<TestLogRecord> records = std::vector<TestLogRecord>(1);  // one default record
    std::optional<CTime> end = std::nullopt;
    BYTE result = 0;
};

// Writes `log` with `writer`, setting `clock` to its start and then its end; returns its handle.
// A record the writer refuses, or a log it does not write, is a test failure.
DWORD WriteTestLog(CLogManager2& writer, ScopedClock& clock, const TestLog& log);
// The same with a writer of its own on `folder`, so that logs need not start in order.
DWORD WriteTestLog(const std::string& folder, ScopedClock& clock, const TestLog& log);

// An event at `time` (local time), as the host reports it.
struct TestEvent {
    CTime time;
    DWORD channel = 1;
    DWORD actions = 0;
    BYTE source = 1;
    BYTE side = 1;
    std::string text = "";
};

// Appends `event` to the event file of its month in `folder`.
void WriteTestEvent(const std::string& folder, const TestEvent& event);

// A first-generation entry at `time` (local time), as the host saves it; a null text stores the
// type's label.
struct TestEntry {
    CTime time;
    DWORD type = 0;
    std::string name = "entry";
    DWORD updateTime = 0;
    DWORD flag = 0;
    const char* text = "text";
};

// Appends `entry` to the first-generation month file of its month in `folder`.
void WriteTestEntry(const std::string& folder, const TestEntry& entry);
// The whole entries of a first-generation month file, in file order, and their names.
std::vector<_LOG_RECORD_V1_> ReadTestEntries(const std::string& path);
std::vector<std::string> StoredEntryNames(const std::string& path);
