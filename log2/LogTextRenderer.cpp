#include "log2/LogTextRenderer.h"

#include <span>
#include <variant>
#include <vector>

#include "log2/LogTextTable.h"
#include "module/FixedText.h"
#include "platform/core/CTime.h"
#include "platform/core/PrintfSignature.h"

namespace {

// One argument of a render form: a 32-bit number or a text.
using Arg = std::variant<DWORD, std::string>;

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

const LOG_TEXT_ROW* FindRow(BYTE type, BYTE category, BYTE code) {
    for (const LOG_TEXT_ROW& row : LOG_TEXT_TABLE)
        if (row.type == type && row.category == category && row.code == code) return &row;
    return nullptr;
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
        CString text;
        if (id != 0) text.LoadString(id);
        it->second.text = text.str();
        it->second.signature = PrintfSignature(text).value_or("?");
    }
    return it->second;
}

const std::string& CLogTextRenderer::Label(DWORD id) { return Format(id).text; }

CString CLogTextRenderer::Render(const LOG_TEXT_ROW& row, const _LOG_RECORD_MEMORY_& r) {
    const HostFormat& f = Format(row.stringId);
    std::vector<Arg> args;
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
            const DWORD source = r.value2 == 1 ? 7602 : (r.value2 == 0 || r.value2 == 6) ? 7848 : r.value2 == 7 ? 7626 : 0;
            args = {source ? Label(source) : std::string(), r.value1, Text(r.text1), Text(r.text2)};
            break;
        }
        default: return CString(kLogFallbackText);
    }
    // An empty format (no such host string) renders as an empty text, as printf would.
    if (f.text.empty()) return CString();
    if (f.signature != SignatureOf(args)) return CString(kLogFallbackText);
    return FormatWith(f.text.c_str(), args);
}

CString CLogTextRenderer::GetLogString(const _LOG_RECORD_MEMORY_& record) {
    BYTE type = record.type;
    const bool network = type >= 4 && type <= 6;
    if (network) type -= 3;
    const LOG_TEXT_ROW* row = FindRow(type, record.category, record.code);
    if (!row) return CString(kLogFallbackText) + "\r\n";
    CString line = Render(*row, record);
    if (network) line = CString(kNetworkPrefix) + line;
    return line + "\r\n";
}

std::string CLogTextRenderer::LogTextBlock(const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log) {
    const _LOG_HEADER_& h = log.header;
    std::string block = Label(7440) + TimeText(h.handle, "%Y-%m-%d %H:%M:%S") + "\r\n";
    if (h.endTime != 0) block += Label(7441) + TimeText(h.endTime, "%Y-%m-%d %H:%M:%S") + "\r\n";
    block += Label(7442) + std::string(ReadFixedText(h.name)) + "\r\n\r\n";
    block += Label(7444) + "\r\n";
    const auto& records = month.Records();
    // A count larger than the records loaded (a hostile file) shows only the records there are.
    const std::uint64_t last = std::min<std::uint64_t>(std::uint64_t{log.firstRecord} + h.recordCount,
                                                       static_cast<std::uint64_t>(records.GetSize()));
    for (std::uint64_t i = log.firstRecord; i < last; ++i) block += GetLogString(records[static_cast<int>(i)]).str();
    return block;
}

std::string CLogTextRenderer::MonthText(const CLogMonthData& month) {
    std::string text;
    for (const _LOG_HEADER_MEMORY_& log : month.Logs()) {
        text += LogTextBlock(month, log);
        text += kExportSeparator;
    }
    return text;
}
