#pragma once
// The monthly log file "FOLDER/YYYYMM.log":
//
//   file   = blockCount:u32 mark:u8 block*          (blockCount blocks follow)
//   block  = head:36 record* tail:u8                (recordCount records, then the tail mark)
//   head   = handle:u32 endTime:u32 recordCount:u32 type:u8 result:u8 name:char[22]
//   record = type:u8 category:u8 code:u8 format:u8  (format 0: 4 bytes)
//            value1..value4:u32                     (format 1: 20 bytes)
//            text1:char[32] text2:char[32]          (format 2: 84 bytes)
//
// Integers are little-endian. Blocks carry no length: a reader parses every record to find the
// next block. The file only grows; each append rewrites the five header bytes with the count
// one higher.
#include <cstddef>
#include <cstdint>
#include <string>

#include "log2/LogRecord.h"

namespace logfile {

constexpr const char* kExtension = "log";
constexpr std::uint8_t kMark = 0x0A;  // after the file header and after each block

constexpr size_t kFileHeaderSize = 4 + 1;                     // blockCount, mark
constexpr size_t kLogHeaderSize = 4 + 4 + 4 + 1 + 1 + kLogNameWidth;
constexpr size_t kRecordKeySize = 4;                          // type, category, code, format
constexpr size_t kRecordValuesSize = 4 * 4;                   // value1..value4
constexpr size_t kRecordTextsSize = 2 * kLogTextWidth;        // text1, text2
constexpr size_t kTailSize = 1;
static_assert(kLogHeaderSize == 36);
static_assert(kRecordKeySize + kRecordValuesSize + kRecordTextsSize == 84);

// Stored size of a record by its format byte. Readers take 20 bytes for any format that is
// neither 0 nor 2, and the writer stores such records the same way, so the file stays readable.
constexpr size_t StoredRecordSize(std::uint8_t format) {
    if (format == kFormatKeyOnly) return kRecordKeySize;
    if (format == kFormatValuesTexts) return kRecordKeySize + kRecordValuesSize + kRecordTextsSize;
    return kRecordKeySize + kRecordValuesSize;
}

void EncodeFileHeader(std::uint8_t* out, std::uint32_t blockCount);
void EncodeLogHeader(std::uint8_t* out, const _LOG_HEADER_& header);
_LOG_HEADER_ DecodeLogHeader(const std::uint8_t* in);
// Writes the stored form of `record` at `out`, which must hold StoredRecordSize(record.format)
// bytes; returns the byte after it.
std::uint8_t* EncodeRecord(std::uint8_t* out, const _LOG_RECORD_MEMORY_& record);
// Decodes a stored record whose key bytes are at `in` and whose further bytes follow them;
// `in` must hold StoredRecordSize(in[3]) bytes. The handle is 0.
_LOG_RECORD_MEMORY_ DecodeRecord(const std::uint8_t* in);

}  // namespace logfile
