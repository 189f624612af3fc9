#pragma once
// The two records of the second-generation system log: one log's head and one of its records.
// In memory they are plain structs; their stored forms are written field by field
// (LogFileFormat.h), never by struct layout.
#include "platform/core/Types.h"

// A number the caller has no value for. Numbers are positional: one given after an absent one
// is dropped, and an absent number is stored as 0.
constexpr DWORD LOG_VALUE_NONE = 999999999;

constexpr int kLogTextWidth = 32;  // text1, text2: up to 31 characters and a zero
constexpr int kLogNameWidth = 22;  // name: up to 21 characters and a zero

// How much of a record is stored.
enum LogRecordFormat : BYTE {
    kFormatKeyOnly = 0,     // type, category, code, format
    kFormatValues = 1,      // ... and value1 to value4
    kFormatValuesTexts = 2  // ... and text1, text2
};

struct _LOG_RECORD_MEMORY_ {
    BYTE type;      // log type of the log that holds the record
    BYTE category;  // first half of the message key
    BYTE code;      // second half of the message key
    BYTE format;    // LogRecordFormat
    DWORD value1;
    DWORD value2;
    DWORD value3;
    DWORD value4;
    char text1[kLogTextWidth];
    char text2[kLogTextWidth];
    DWORD handle;   // the log that holds the record; in memory only, 0 when read back
};

struct _LOG_HEADER_ {
    DWORD handle;       // identifier and start time of the log
    DWORD endTime;      // time the log was closed; 0 while it is open
    DWORD recordCount;  // records that belong to the log
    BYTE type;          // log type
    BYTE result;        // result byte given at closing
    char name[kLogNameWidth];
};
