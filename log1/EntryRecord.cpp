#include "log1/EntryRecord.h"

#include <cstring>

#include "module/FixedText.h"
#include "platform/core/LittleEndian.h"

namespace entryfile {

void EncodeEntry(std::uint8_t* out, const _LOG_RECORD_V1_& entry) {
    std::memset(out, 0, kRecordSize);
    PutU32(out + kTimeOffset, entry.time);
    PutU32(out + kUpdateTimeOffset, entry.updateTime);
    // Only the text up to its zero is stored, so whatever follows it in memory never reaches a file.
    const std::string_view name = ReadFixedText(entry.name);
    std::memcpy(out + kNameOffset, name.data(), std::min(name.size(), kNameWidth - 1));
    PutU32(out + kTypeOffset, entry.type);
    PutU32(out + kFlagOffset, entry.flag);
    const std::string_view text = ReadFixedText(entry.text);
    std::memcpy(out + kTextOffset, text.data(), std::min(text.size(), kTextWidth - 1));
}

_LOG_RECORD_V1_ DecodeEntry(const std::uint8_t* in) {
    _LOG_RECORD_V1_ entry{};
    entry.time = GetU32(in + kTimeOffset);
    entry.updateTime = GetU32(in + kUpdateTimeOffset);
    // A field without its zero (a foreign or damaged file) is cut to the width that keeps one.
    std::memcpy(entry.name, in + kNameOffset, kNameWidth - 1);
    entry.type = GetU32(in + kTypeOffset);
    entry.flag = GetU32(in + kFlagOffset);
    std::memcpy(entry.text, in + kTextOffset, kTextWidth - 1);
    return entry;
}

bool SameEntry(const _LOG_RECORD_V1_& a, const _LOG_RECORD_V1_& b) {
    return a.time == b.time && a.type == b.type && ReadFixedText(a.name) == ReadFixedText(b.name);
}

bool SameApartFromUpdate(const _LOG_RECORD_V1_& a, const _LOG_RECORD_V1_& b) {
    return SameEntry(a, b) && a.flag == b.flag && ReadFixedText(a.text) == ReadFixedText(b.text);
}

}  // namespace entryfile
