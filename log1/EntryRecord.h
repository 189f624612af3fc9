#pragma once
// One first-generation log entry, and its stored form in the month file "FOLDER/YYYYMM.log": a
// plain sequence of 168-byte records with no header, in the order written.
//
//   record = time:u32 updateTime:u32 name:char[21] padding:u8[3](0) type:u32 flag:u32
//            text:char[128]
//
// Integers are little-endian; name and text are zero-terminated, the rest of each field zero.
// Older recorders wrote these files, so the layout never changes.
#include <cstddef>
#include <cstdint>

#include "platform/core/Types.h"

namespace entryfile {

constexpr const char* kExtension = "log";

constexpr size_t kNameWidth = 21;  // up to 20 characters and a zero
constexpr size_t kTextWidth = 128; // up to 127 characters and a zero

constexpr size_t kTimeOffset = 0;
constexpr size_t kUpdateTimeOffset = 4;  // 0 while the entry is still pending
constexpr size_t kNameOffset = 8;
constexpr size_t kPaddingSize = 3;
constexpr size_t kTypeOffset = kNameOffset + kNameWidth + kPaddingSize;
constexpr size_t kFlagOffset = kTypeOffset + 4;
constexpr size_t kTextOffset = kFlagOffset + 4;
constexpr size_t kRecordSize = kTextOffset + kTextWidth;
static_assert(kTypeOffset == 32 && kFlagOffset == 36 && kTextOffset == 40);
static_assert(kRecordSize == 168);

// Types 0 to 4 have a label and a branch in the browser; other types can be stored but are never
// loaded.
constexpr DWORD kTypeCount = 5;

// The host's path limit (a path of 260 bytes with its terminating zero), which month file names
// must keep to, and the longest folder the browser takes (its field holds 128 bytes: the folder,
// the separator it adds, and a zero).
constexpr size_t kMaxPath = 260;
constexpr size_t kMaxLoadPath = 126;

}  // namespace entryfile

struct _LOG_RECORD_V1_ {
    DWORD time;
    DWORD updateTime;
    char name[entryfile::kNameWidth];
    DWORD type;
    DWORD flag;  // yes or no: non-zero or zero
    char text[entryfile::kTextWidth];
};

namespace entryfile {

// Writes the record's 168 bytes, padding zero.
void EncodeEntry(std::uint8_t* out, const _LOG_RECORD_V1_& entry);
_LOG_RECORD_V1_ DecodeEntry(const std::uint8_t* in);
// The identity an update looks for: time, name and type.
bool SameEntry(const _LOG_RECORD_V1_& a, const _LOG_RECORD_V1_& b);
// The same entry, whatever update time it was given since: every field but the update time.
bool SameApartFromUpdate(const _LOG_RECORD_V1_& a, const _LOG_RECORD_V1_& b);

}  // namespace entryfile
