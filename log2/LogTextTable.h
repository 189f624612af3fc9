#pragma once
// The message table of log records: which host string, filled how (the render form), gives the
// text of a record with a given (log type, category, code) key.
#include <span>
#include <string_view>
#include <vector>

#include "platform/core/Types.h"

struct LOG_TEXT_ROW {
    BYTE type;
    BYTE category;
    BYTE code;
    BYTE form;      // render form, 1 to 23
    DWORD stringId; // host string used as the format; 0 names none (an empty format)
};

constexpr int kLogTextTableRows = 118;
// 115 keyed rows, then three all-zero rows that match only the key (0, 0, 0).
extern const LOG_TEXT_ROW LOG_TEXT_TABLE[kLogTextTableRows];

// Host strings that form 23 inserts as plain texts (not as formats).
constexpr DWORD kNetworkSourceStringIds[] = {7602, 7848, 7626};

// The argument lists a render form passes to its format, as PrintfSignature kinds ('i' a
// 32-bit number, 's' a text). Form 1 shows its format unformatted (no list); form 18 passes
// either a number or a text, depending on the record.
std::vector<std::string_view> RenderFormSignatures(int form);
