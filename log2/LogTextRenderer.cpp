#include "log2/LogTextRenderer.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <span>
#include <unordered_map>
#include <variant>

#include "log2/LogTextTable.h"
#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/CTime.h"
#include "platform/core/PrintfSignature.h"
#include "platform/core/ResourceChain.h"

namespace {

// One argument of a render form: a 32-bit number or a text.
using Arg = std::variant<DWORD, std::string>;

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

std::string SignatureOf(std::span<const Arg> args) {
    std::string kinds;
    for (const Arg& a : args) kinds += std::holds_alternative<DWORD>(a) ? 'i' : 's';
    return kinds;
}

// Calls printf-style formatting with the runtime list `rest` turned into real arguments, one
// position at a time (forms pass at most five).
template <typename... Done>
CString FormatWith(const char* format, std::span<const Arg> rest, Done... done) {
    if constexpr (sizeof...(Done) < 5) {
        if (!rest.empty()) {
            if (const DWORD* n = std::get_if<DWORD>(&rest[0])) return FormatWith(format, rest.subspan(1), done..., *n);
            return FormatWith(format, rest.subspan(1), done..., std::get<std::string>(rest[0]).c_str());
        }
    }
    CString out;
    if constexpr (sizeof...(Done) > 0) out.Format(format, done...);
    return out;
}

std::string Text(const char (&field)[kLogTextWidth]) { return std::string(ReadFixedText(field)); }

std::string TimeText(DWORD time, const char* format) { return CTime(time).Format(format).str(); }

std::string TextOrNone(const char (&field)[kLogTextWidth]) {
    const std::string text = Text(field);
    return text.size() < 2 ? "NONE" : text;
}

// The first row of each key, found by one lookup instead of a walk down the table.
const LOG_TEXT_ROW* FindRow(BYTE type, BYTE category, BYTE code) {
    static const std::unordered_map<std::uint32_t, const LOG_TEXT_ROW*> index = [] {
        std::unordered_map<std::uint32_t, const LOG_TEXT_ROW*> rows;
        for (const LOG_TEXT_ROW& row : LOG_TEXT_TABLE)
            rows.try_emplace((std::uint32_t{row.type} << 16) | (std::uint32_t{row.category} << 8) | row.code, &row);
        return rows;
    }();
    const auto it = index.find((std::uint32_t{type} << 16) | (std::uint32_t{category} << 8) | code);
    return it == index.end() ? nullptr : it->second;
}

}  // namespace

CString GetMaskString(DWORD mask) {
    std::string text = "[ ";
    for (int channel = 1; channel <= 16; ++channel)
        if (mask & (1u << (channel - 1))) text += std::to_string(channel) + ", ";
    if (text.size() > 3) text.resize(text.size() - 2);
    return CString(text + " ]");
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
    }
    return it->second;
}

const std::string& CLogTextRenderer::Label(DWORD id) { return Format(id).text; }

CString CLogTextRenderer::Render(const LOG_TEXT_ROW& row, const _LOG_RECORD_MEMORY_& r) {
    const HostFormat& f = Format(row.stringId);
    ArgList args;
    switch (row.form) {
        case 1: return CString(f.text);
        case 2: args = {r.value1}; break;
        case 3: args = {Text(r.text1)}; break;
        case 4: args = {r.value1, r.value2}; break;
        case 5: args = {r.value1, Text(r.text1)}; break;
        case 6: args = {Text(r.text1), Text(r.text2)}; break;
        case 7: args = {r.value1, r.value2, r.value3}; break;
        case 8: args = {r.value1, Text(r.text1), r.value2}; break;
        case 9: args = {r.value1, r.value2, r.value3, r.value4}; break;
        case 10: args = {r.value1, TimeText(r.value2, "%Y-%m-%d %H:%M:%S")}; break;
        case 11: args = {GetMaskString(r.value1).str(), TimeText(r.value2, "%Y-%m-%d %H Hour")}; break;
        case 12: args = {GetMaskString(r.value1).str()}; break;
        case 13: args = {std::string(r.value1 ? "NTSC" : "PAL")}; break;
        case 14: args = {Text(r.text1), r.value1}; break;
        case 15:
            args = {r.value1, GetMaskString(r.value2).str(), GetMaskString(r.value3).str(),
                    std::string(r.value4 ? "NO" : "NC")};
            break;
        case 16: case 17: args = {std::string(r.value1 ? "Accept" : "Reject")}; break;
        case 18:
            if (r.value1 == 1) args = {r.value2};
            else if (r.value1 == 2) args = {Text(r.text1)};
            else return CString(kLogFallbackText);
            break;
        case 19: args = {r.value1, GetMaskString(r.value2).str()}; break;
        case 20: args = {Text(r.text1), Text(r.text2), std::string(r.value1 == 1 ? "Administrator" : "General User")}; break;
        case 21: args = {r.value1 & 0xFFFF, Text(r.text1), Text(r.text2), r.value2 & 0xFFFF, r.value3 & 0xFFFF}; break;
        case 22: args = {r.value1, TextOrNone(r.text1), TextOrNone(r.text2)}; break;
        case 23: {
            const DWORD source = r.value2 == 1                     ? host::kNetworkSourceName
                                 : (r.value2 == 0 || r.value2 == 6) ? host::kLocalSourceName
                                 : r.value2 == 7                    ? host::kWebSourceName
                                                                    : 0;
            args = {source ? Label(source) : std::string(), r.value1, Text(r.text1), Text(r.text2)};
            break;
        }
        default: return CString(kLogFallbackText);
    }
    // A string the host lacks shows as its identifier; one it gives empty renders as an empty
    // text, as printf would.
    if (f.missing || f.text.empty()) return CString(f.text);
    if (f.signature != SignatureOf(args.span())) return CString(kLogFallbackText);
    return FormatWith(f.text.c_str(), args.span());
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
        out += Render(*row, record).str();
    }
    out += "\r\n";
}

CString CLogTextRenderer::GetLogString(const _LOG_RECORD_MEMORY_& record) {
    std::string line;
    AppendLogString(line, record);
    return CString(std::move(line));
}

void CLogTextRenderer::AppendLogTextBlock(std::string& out, const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log) {
    const _LOG_HEADER_& h = log.header;
    out += Label(host::kStartTimeLabel);
    out += TimeText(h.handle, "%Y-%m-%d %H:%M:%S");
    out += "\r\n";
    if (h.endTime != 0) {
        out += Label(host::kEndTimeLabel);
        out += TimeText(h.endTime, "%Y-%m-%d %H:%M:%S");
        out += "\r\n";
    }
    out += Label(host::kNameLabel);
    out += ReadFixedText(h.name);
    out += "\r\n\r\n";
    out += Label(host::kRecordsHeading);
    out += "\r\n";
    const auto& records = month.Records();
    // A count larger than the records loaded (a hostile file) shows only the records there are.
    const std::uint64_t last = std::min<std::uint64_t>(std::uint64_t{log.firstRecord} + h.recordCount,
                                                       static_cast<std::uint64_t>(records.GetSize()));
    for (std::uint64_t i = log.firstRecord; i < last; ++i) AppendLogString(out, records[static_cast<int>(i)]);
}

std::string CLogTextRenderer::LogTextBlock(const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log) {
    std::string block;
    AppendLogTextBlock(block, month, log);
    return block;
}

void CLogTextRenderer::MonthText(const CLogMonthData& month, const std::function<void(const std::string&)>& write,
                                 size_t piece) {
    std::string text;  // grows as needed: reserving a whole piece up front costs a small month dear
    for (const _LOG_HEADER_MEMORY_& log : month.Logs()) {
        AppendLogTextBlock(text, month, log);
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
