#include "log2/LogFileFormat.h"

#include <cstring>

#include "platform/core/LittleEndian.h"

namespace logfile {

void EncodeFileHeader(std::uint8_t* out, std::uint32_t blockCount) {
    PutU32(out, blockCount);
    out[4] = kMark;
}

void EncodeLogHeader(std::uint8_t* out, const _LOG_HEADER_& header) {
    PutU32(out, header.handle);
    PutU32(out + 4, header.endTime);
    PutU32(out + 8, header.recordCount);
    out[12] = header.type;
    out[13] = header.result;
    std::memcpy(out + 14, header.name, kLogNameWidth);
}

_LOG_HEADER_ DecodeLogHeader(const std::uint8_t* in) {
    _LOG_HEADER_ header{};
    header.handle = GetU32(in);
    header.endTime = GetU32(in + 4);
    header.recordCount = GetU32(in + 8);
    header.type = in[12];
    header.result = in[13];
    std::memcpy(header.name, in + 14, kLogNameWidth);
    return header;
}

std::uint8_t* EncodeRecord(std::uint8_t* out, const _LOG_RECORD_MEMORY_& record) {
    out[0] = record.type;
    out[1] = record.category;
    out[2] = record.code;
    out[3] = record.format;
    if (record.format == kFormatKeyOnly) return out + kRecordKeySize;
    PutU32(out + 4, record.value1);
    PutU32(out + 8, record.value2);
    PutU32(out + 12, record.value3);
    PutU32(out + 16, record.value4);
    if (record.format != kFormatValuesTexts) return out + kRecordKeySize + kRecordValuesSize;
    std::memcpy(out + 20, record.text1, kLogTextWidth);
    std::memcpy(out + 20 + kLogTextWidth, record.text2, kLogTextWidth);
    return out + StoredRecordSize(kFormatValuesTexts);
}

_LOG_RECORD_MEMORY_ DecodeRecord(const std::uint8_t* in) {
    _LOG_RECORD_MEMORY_ record{};
    record.type = in[0];
    record.category = in[1];
    record.code = in[2];
    record.format = in[3];
    if (record.format == kFormatKeyOnly) return record;
    record.value1 = GetU32(in + 4);
    record.value2 = GetU32(in + 8);
    record.value3 = GetU32(in + 12);
    record.value4 = GetU32(in + 16);
    if (record.format != kFormatValuesTexts) return record;
    std::memcpy(record.text1, in + 20, kLogTextWidth);
    std::memcpy(record.text2, in + 20 + kLogTextWidth, kLogTextWidth);
    return record;
}

}  // namespace logfile
