#pragma once
// The readable text of log records, logs and whole months, built from the host's strings: each
// record's key chooses a host string (LOG_TEXT_TABLE) that is used as a printf format and filled
// as the row's render form says.
//
// Host strings belong to the host. Before a format is filled, its conversions are checked
// against the arguments its render form passes; a format that would read an argument of another
// kind, or one that was never passed, is not used, and the record shows the fallback text.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "log2/LogMonthData.h"
#include "log2/LogRecord.h"
#include "log2/LogTextTable.h"
#include "platform/core/CString.h"
#include "platform/core/CompiledFormat.h"
#include "platform/core/LocalTimeTexts.h"

constexpr std::string_view kLogFallbackText = "Log Message False !!!";
constexpr std::string_view kNetworkPrefix = "Network - ";
constexpr std::string_view kExportSeparator = "-------------------------------------------------\r\n";
constexpr std::string_view kLineEnd = "\r\n";

// "[ 1, 3, 16 ]": the channels (bits 0 to 15) of a mask; "[  ]" for none.
CString GetMaskString(DWORD mask);
// The same text into `out`, zero-terminated; returns its length.
constexpr size_t kMaskTextSize = 64;  // "[ 1, 2, ..., 16 ]" and its zero
size_t WriteMaskText(char (&out)[kMaskTextSize], DWORD mask);

// Renders into buffers it is given, with no allocation per record: host strings are looked up
// and their formats prepared once per renderer, and local times converted without a look-up of
// the zone for each.
class CLogTextRenderer {
public:
    CLogTextRenderer() = default;
    // The prepared formats point into the renderer's own table of host strings.
    CLogTextRenderer(const CLogTextRenderer&) = delete;
    CLogTextRenderer& operator=(const CLogTextRenderer&) = delete;
    CLogTextRenderer(CLogTextRenderer&&) = default;
    CLogTextRenderer& operator=(CLogTextRenderer&&) = default;

    // One line for `record`, ending in "\r\n".
    CString GetLogString(const _LOG_RECORD_MEMORY_& record);
    // The same line appended to `out`.
    void AppendLogString(std::string& out, const _LOG_RECORD_MEMORY_& record);
    // The text block of a loaded log: its start, end (if any) and name, then one line per record.
    std::string LogTextBlock(const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log);
    // Every loaded log's text block, latest first, each followed by a 49-hyphen separator line.
    std::string MonthText(const CLogMonthData& month);
    // The same text handed over in pieces of about `piece` bytes, for writing a large month
    // without holding all of it.
    void MonthText(const CLogMonthData& month, const std::function<void(const std::string&)>& write,
                   size_t piece = size_t{1} << 20);

private:
    struct HostFormat {
        std::string text;         // the host's string, or its identifier where the host has none
        bool missing = false;     // the host has no such string
        std::string signature;    // what its conversions read; "?" if it uses unsupported ones
        CompiledFormat compiled;  // the text prepared for filling, where it has a signature
    };
    // The labels of a log's text block.
    struct BlockLabels {
        const std::string *start, *end, *name, *records;
    };
    const HostFormat& Format(DWORD id);
    const HostFormat& RowFormat(const LOG_TEXT_ROW& row);
    const std::string& Label(DWORD id);
    const BlockLabels& Labels();
    void Render(std::string& out, const LOG_TEXT_ROW& row, const _LOG_RECORD_MEMORY_& record);
    void AppendLogTextBlock(std::string& out, const CLogMonthData& month, const _LOG_HEADER_MEMORY_& log);

    // Host strings are looked up once per renderer; the map keeps its entries where they are.
    std::unordered_map<DWORD, HostFormat> m_formats;
    std::array<const HostFormat*, kLogTextTableRows> m_rowFormats{};  // by row of the message table
    std::optional<BlockLabels> m_labels;
    LocalTimeTexts m_times;
};
