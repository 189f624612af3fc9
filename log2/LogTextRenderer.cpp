#include "log2/LogTextRenderer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <span>

#include "log2/LogTextTable.h"
#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/PrintfSignature.h"
#include "platform/core/ResourceChain.h"

namespace {

using Arg = CompiledFormat::Arg;

// A form's arguments, at most five, kept without a heap allocation per record.
class ArgList {
public:
    ArgList() = default;
    ArgList(std::initializer_list<Arg> args) : m_count(args.size()) { std::copy(args.begin(), args.end(), m_items.begin()); }
    std::span<const Arg> span() const { return {m_items.data(), m_count}; }

private:
    std::array<Arg, 5> m_items;
    size_t m_count = 0;
};

// Whether `args` are of the kinds `signature` reads ('i' a number, 's' a text), in order.
bool Fits(const std::string& signature, std::span<const Arg> args) {
    if (signature.size() != args.size()) return false;
    for (size_t i = 0; i < args.size(); ++i)
        if (signature[i] != (args[i].IsText() ? 's' : 'i')) return false;
    return true;
}

// The texts a record's arguments point into, on the stack of the record being rendered.
struct ArgTexts {
    char text1[kLogTextWidth + 1], text2[kLogTextWidth + 1];
    char mask1[kMaskTextSize], mask2[kMaskTextSize];
    char time[LocalTimeTexts::kSize];
};

// A fixed text field as a zero-terminated text in `out`.
const char* Text(char (&out)[kLogTextWidth + 1], const char (&field)[kLogTextWidth]) {
    const std::string_view text = ReadFixedText(field);
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return out;
}

const char* TextOrNone(char (&out)[kLogTextWidth + 1], const char (&field)[kLogTextWidth]) {
    return ReadFixedText(field).size() < 2 ? "NONE" : Text(out, field);
}

// The message table's rows by key, first row of each key, for keys whose type, category and code
// are below 16, 16 and 32 (every key the table holds); -1 where no row has the key.
constexpr int kKeyCodes = 32, kKeyCategories = 16, kKeyTypes = 16;
const LOG_TEXT_ROW* FindRow(BYTE type, BYTE category, BYTE code) {
    static const std::array<std::int16_t, kKeyTypes * kKeyCategories * kKeyCodes> index = [] {
        std::array<std::int16_t, kKeyTypes * kKeyCategories * kKeyCodes> rows;
        rows.fill(-1);
        for (int i = kLogTextTableRows - 1; i >= 0; --i) {
            const LOG_TEXT_ROW& row = LOG_TEXT_TABLE[i];
            rows[(row.type * kKeyCategories + row.category) * kKeyCodes + row.code] = static_cast<std::int16_t>(i);
        }
        return rows;
    }();
    if (type >= kKeyTypes || category >= kKeyCategories || code >= kKeyCodes) return nullptr;
    const int row = index[(type * kKeyCategories + category) * kKeyCodes + code];
    return row < 0 ? nullptr : &LOG_TEXT_TABLE[row];
}

// The records of a log, as far as they are loaded.
std::span<const _LOG_RECORD_MEMORY_> RecordsOf(const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log) {
    const auto& records = month.Records();
    // A count larger than the records loaded (a hostile file) gives only the records there are.
    const std::uint64_t all = static_cast<std::uint64_t>(records.GetSize());
    const std::uint64_t first = std::min<std::uint64_t>(log.firstRecord, all);
    const std::uint64_t last = std::min<std::uint64_t>(first + log.header.recordCount, all);
    return {records.begin() + first, records.begin() + last};
}

// Asks for a log's records while the log before it is written: the logs go latest first, against
// the records' order in memory, and the processor does not foresee that walk on its own.
constexpr int kPrefetchAhead = 2;  // logs: a log of ten records is written in less time than its fetch takes
void Prefetch(std::span<const _LOG_RECORD_MEMORY_> records) {
    constexpr size_t kLine = 64;
    const auto* end = reinterpret_cast<const char*>(records.data() + records.size());
    for (const auto* p = reinterpret_cast<const char*>(records.data()); p < end; p += kLine) __builtin_prefetch(p);
}

}  // namespace

size_t WriteMaskText(char (&out)[kMaskTextSize], DWORD mask) {
    char* p = out;
    *p++ = '[';
    *p++ = ' ';
    for (int channel = 1; channel <= 16; ++channel) {
        if (!(mask & (1u << (channel - 1)))) continue;
        if (p != out + 2) {
            *p++ = ',';
            *p++ = ' ';
        }
        if (channel >= 10) *p++ = '1';
        *p++ = static_cast<char>('0' + channel % 10);
    }
    *p++ = ' ';
    *p++ = ']';
    *p = '\0';
    return static_cast<size_t>(p - out);
}

CString GetMaskString(DWORD mask) {
    char text[kMaskTextSize];
    return CString(std::string_view(text, WriteMaskText(text, mask)));
}

const CLogTextRenderer::HostFormat& CLogTextRenderer::Format(DWORD id) {
    auto [it, added] = m_formats.try_emplace(id);
    if (added) {
        HostFormat& format = it->second;
        if (id != 0) {
            format.missing = AfxFindString(id) == nullptr;
            format.text = HostText(id);
        }
        format.signature = PrintfSignature(format.text.c_str(), kMaxForeignFormatField).value_or("?");
        if (format.signature != "?") format.compiled = CompiledFormat(format.text);
    }
    return it->second;
}

const CLogTextRenderer::HostFormat& CLogTextRenderer::RowFormat(const LOG_TEXT_ROW& row) {
    const HostFormat*& format = m_rowFormats[static_cast<size_t>(&row - LOG_TEXT_TABLE)];
    if (!format) format = &Format(row.stringId);
    return *format;
}

const std::string& CLogTextRenderer::Label(DWORD id) { return Format(id).text; }

const CLogTextRenderer::BlockLabels& CLogTextRenderer::Labels() {
    if (!m_labels)
        m_labels = BlockLabels{&Label(host::kStartTimeLabel), &Label(host::kEndTimeLabel), &Label(host::kNameLabel),
                               &Label(host::kRecordsHeading)};
    return *m_labels;
}

void CLogTextRenderer::Render(std::string& out, const LOG_TEXT_ROW& row, const _LOG_RECORD_MEMORY_& r) {
    const HostFormat& f = RowFormat(row);
    ArgTexts t;
    ArgList args;
    switch (row.form) {
        case 1: out += f.text; return;
        case 2: args = {r.value1}; break;
        case 3: args = {Text(t.text1, r.text1)}; break;
        case 4: args = {r.value1, r.value2}; break;
        case 5: args = {r.value1, Text(t.text1, r.text1)}; break;
        case 6: args = {Text(t.text1, r.text1), Text(t.text2, r.text2)}; break;
        case 7: args = {r.value1, r.value2, r.value3}; break;
        case 8: args = {r.value1, Text(t.text1, r.text1), r.value2}; break;
        case 9: args = {r.value1, r.value2, r.value3, r.value4}; break;
        case 10: m_times.DateTime(t.time, r.value2); args = {r.value1, t.time}; break;
        case 11:
            WriteMaskText(t.mask1, r.value1);
            m_times.DateHour(t.time, r.value2);
            args = {t.mask1, t.time};
            break;
        case 12: WriteMaskText(t.mask1, r.value1); args = {t.mask1}; break;
        case 13: args = {r.value1 ? "NTSC" : "PAL"}; break;
        case 14: args = {Text(t.text1, r.text1), r.value1}; break;
        case 15:
            WriteMaskText(t.mask1, r.value2);
            WriteMaskText(t.mask2, r.value3);
            args = {r.value1, t.mask1, t.mask2, r.value4 ? "NO" : "NC"};
            break;
        case 16: case 17: args = {r.value1 ? "Accept" : "Reject"}; break;
        case 18:
            if (r.value1 == 1) args = {r.value2};
            else if (r.value1 == 2) args = {Text(t.text1, r.text1)};
            else return void(out += kLogFallbackText);
            break;
        case 19: WriteMaskText(t.mask1, r.value2); args = {r.value1, t.mask1}; break;
        case 20:
            args = {Text(t.text1, r.text1), Text(t.text2, r.text2), r.value1 == 1 ? "Administrator" : "General User"};
            break;
        case 21:
            args = {r.value1 & 0xFFFF, Text(t.text1, r.text1), Text(t.text2, r.text2), r.value2 & 0xFFFF, r.value3 & 0xFFFF};
            break;
        case 22: args = {r.value1, TextOrNone(t.text1, r.text1), TextOrNone(t.text2, r.text2)}; break;
        case 23: {
            const DWORD source = r.value2 == 1                     ? host::kNetworkSourceName
                                 : (r.value2 == 0 || r.value2 == 6) ? host::kLocalSourceName
                                 : r.value2 == 7                    ? host::kWebSourceName
                                                                    : 0;
            args = {source ? Label(source).c_str() : "", r.value1, Text(t.text1, r.text1), Text(t.text2, r.text2)};
            break;
        }
        default: return void(out += kLogFallbackText);
    }
    // A string the host lacks shows as its identifier; one it gives empty renders as an empty
    // text, as printf would.
    if (f.missing || f.text.empty()) return void(out += f.text);
    if (!Fits(f.signature, args.span())) return void(out += kLogFallbackText);
    f.compiled.AppendTo(out, args.span());
}

void CLogTextRenderer::AppendLogString(std::string& out, const _LOG_RECORD_MEMORY_& record) {
    BYTE type = record.type;
    const bool network = type >= 4 && type <= 6;
    if (network) type -= 3;
    const LOG_TEXT_ROW* row = FindRow(type, record.category, record.code);
    if (!row) {
        out += kLogFallbackText;
    } else {
        if (network) out += kNetworkPrefix;
        Render(out, *row, record);
    }
    out += kLineEnd;
}

CString CLogTextRenderer::GetLogString(const _LOG_RECORD_MEMORY_& record) {
    std::string line;
    AppendLogString(line, record);
    return CString(std::move(line));
}

void CLogTextRenderer::AppendLogTextBlock(std::string& out, const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log) {
    const _LOG_HEADER_& h = log.header;
    const BlockLabels& labels = Labels();
    char time[LocalTimeTexts::kSize];
    out += *labels.start;
    out.append(time, m_times.DateTime(time, h.handle));
    out += kLineEnd;
    if (h.endTime != 0) {
        out += *labels.end;
        out.append(time, m_times.DateTime(time, h.endTime));
        out += kLineEnd;
    }
    out += *labels.name;
    out += ReadFixedText(h.name);
    out += "\r\n\r\n";
    out += *labels.records;
    out += kLineEnd;
    for (const _LOG_RECORD_MEMORY_& record : RecordsOf(month, log)) AppendLogString(out, record);
}

std::string CLogTextRenderer::LogTextBlock(const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log) {
    std::string block;
    AppendLogTextBlock(block, month, log);
    return block;
}

void CLogTextRenderer::MonthText(const CLogMonthData& month, const std::function<void(const std::string&)>& write,
                                 size_t piece) {
    std::string text;  // grows as needed: reserving a whole piece up front costs a small month dear
    const auto& logs = month.Logs();
    for (const _LOG_HEADER_MEMORY_* log = logs.begin(); log != logs.end(); ++log) {
        if (logs.end() - log > kPrefetchAhead) Prefetch(RecordsOf(month, log[kPrefetchAhead]));
        AppendLogTextBlock(text, month, *log);
        text += kExportSeparator;
        if (text.size() >= piece) {
            write(text);
            text.clear();
        }
    }
    if (!text.empty()) write(text);
}

std::string CLogTextRenderer::MonthText(const CLogMonthData& month) {
    std::string all;
    MonthText(month, [&all](const std::string& piece) { all += piece; });
    return all;
}
