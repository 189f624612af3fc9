// Host strings used as the formats of log and event texts. A host of this target's own answers
// every string with the input's text; the input's first bytes pick the log record (its key, from
// the message table, and its numbers), so that every render form fills the host's format, and
// the event's source and side. Whatever the format holds, a text is made without reading an
// argument that was not given and without growing beyond what the format shows.
#include <cstring>
#include <string>

#include "event/EventText.h"
#include "fuzz/FuzzTarget.h"
#include "log2/LogTextRenderer.h"
#include "log2/LogTextTable.h"
#include "platform/core/PrintfSignature.h"
#include "platform/core/ResourceChain.h"

namespace {

// Bytes before the format: the table row, the log type's network flag (bit 0) and the event's
// source and side (bits 1 and 2), and four numbers.
constexpr std::size_t kRecordBytes = 2 + 4 * 4;

class InputHost : public CResourceModule {
public:
    InputHost() { AfxAddResourceModule(this); }
    const char* FindString(UINT) const override { return format.c_str(); }
    std::span<const BYTE> FindBitmap(UINT) const override { return {}; }
    std::string format;
};

_LOG_RECORD_MEMORY_ RecordOf(const std::uint8_t* data) {
    const LOG_TEXT_ROW& row = LOG_TEXT_TABLE[data[0] % kLogTextTableRows];
    _LOG_RECORD_MEMORY_ r{};
    // Network logs (types 4 to 6) use the rows of types 1 to 3 with a prefix.
    r.type = static_cast<BYTE>(row.type + (data[1] & 1 && row.type >= 1 && row.type <= 3 ? 3 : 0));
    r.category = row.category;
    r.code = row.code;
    r.format = kFormatValuesTexts;
    std::memcpy(&r.value1, data + 2, 4);
    std::memcpy(&r.value2, data + 6, 4);
    std::memcpy(&r.value3, data + 10, 4);
    std::memcpy(&r.value4, data + 14, 4);
    std::strcpy(r.text1, "front door");
    std::strcpy(r.text2, "%s%n%s");
    return r;
}

_EVENT_LOG_ EventOf(const std::uint8_t* data) {
    _EVENT_LOG_ e{};
    e.source = data[1] & 2 ? kSourceSensor : kSourceCamera;
    e.side = data[1] & 4 ? kSideClient : kSideServer;
    e.actions = 1;
    std::strcpy(e.text, "gate %s %d");
    return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InputHost host;
    if (size < kRecordBytes) return 0;
    host.format.assign(reinterpret_cast<const char*>(data) + kRecordBytes, size - kRecordBytes);
    PrintfSignature(host.format.c_str());
    CLogTextRenderer renderer;
    renderer.GetLogString(RecordOf(data));
    EventPaneText(EventOf(data));
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    // For the first row of each render form, a format of every argument list the form passes;
    // then formats that fit no form.
    std::vector<std::vector<std::uint8_t>> seeds;
    auto add = [&seeds](int row, const std::string& format) {
        std::vector<std::uint8_t> seed(kRecordBytes);
        seed[0] = static_cast<std::uint8_t>(row);
        seed[1] = static_cast<std::uint8_t>(row & 7);
        for (std::size_t i = 2; i < kRecordBytes; i += 4) seed[i] = static_cast<std::uint8_t>(1 + (row + i) % 3);
        seed.insert(seed.end(), format.begin(), format.end());
        seeds.push_back(std::move(seed));
    };
    for (int form = 1; form <= 23; ++form) {
        int row = 0;
        while (row < kLogTextTableRows && LOG_TEXT_TABLE[row].form != form) ++row;
        if (row == kLogTextTableRows) continue;
        for (const std::string_view signature : RenderFormSignatures(form)) {
            std::string format = "event";
            for (const char kind : signature) format += kind == 'i' ? " %u" : " [%s]";
            add(row, format);
        }
    }
    for (const char* bad : {"%5.3d%-8s%%%x%c", "%*d%.*s", "%ld %f %p %n %1$s", "%"}) add(0, bad);
    return seeds;
}
