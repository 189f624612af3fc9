#include "tools/dvrkit/JournalPrinter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/dvrkit/JsonText.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

// Written to standard output at about this size, one call each.
constexpr std::size_t kBlockSize = 64 * 1024;

// The places of the keys the printer adds to each JSON line, before the entry's fields.
constexpr int kTimeKey = -2, kEpochKey = -1;

}  // namespace

void JournalPrinter::Print(DWORD time, const JournalText& text) {
    switch (m_output) {
        case JournalOutput::shortText: AppendShort(time, text); break;
        case JournalOutput::cat: AppendCat(text); break;
        case JournalOutput::jsonLines: AppendJson(time, text); break;
    }
    if (m_block.size() >= kBlockSize) WriteBlock();
}

void JournalPrinter::Line(std::string_view text) {
    m_block += text;
    m_block += '\n';
}

void JournalPrinter::Flush() {
    WriteBlock();
    CheckStandardOutput();
}

void JournalPrinter::WriteBlock() {
    if (m_block.empty()) return;
    const bool written = std::fwrite(m_block.data(), 1, m_block.size(), stdout) == m_block.size();
    m_block.clear();
    if (!written) CheckStandardOutput();
}

void JournalPrinter::AppendShort(DWORD time, const JournalText& text) {
    m_times.AppendPlain(m_block, time);
    m_block += ' ';
    AppendShownText(m_block, text.heading);
    m_block += '\n';
    AppendBody(text.body, "  ");
}

void JournalPrinter::AppendCat(const JournalText& text) {
    AppendShownText(m_block, text.heading);
    m_block += '\n';
    AppendBody(text.body, "");
}

void JournalPrinter::AppendBody(std::string_view body, std::string_view indent) {
    for (size_t at = 0; at < body.size();) {
        const size_t end = std::min(body.find('\n', at), body.size());
        m_block += indent;
        AppendShownText(m_block, body.substr(at, end - at));
        m_block += '\n';
        at = end + 1;
    }
}

void JournalPrinter::SortKeys(const JournalText& text) {
    // Entries of one family name the same fields in the same order: sorted once, not per entry.
    const bool same = m_names.size() == text.fields.size() &&
                      std::ranges::equal(m_names, text.fields, {}, {}, &JournalField::name);
    if (same) return;
    m_names.clear();
    for (const JournalField& field : text.fields) m_names.push_back(field.name);
    m_order.clear();
    for (int i = -2; i < static_cast<int>(m_names.size()); ++i) m_order.push_back(i);
    const auto name = [this](int i) { return i == kTimeKey ? "time" : i == kEpochKey ? "epoch" : m_names[static_cast<size_t>(i)]; };
    std::ranges::sort(m_order, [&](int a, int b) { return std::strcmp(name(a), name(b)) < 0; });
}

void JournalPrinter::AppendJson(DWORD time, const JournalText& text) {
    SortKeys(text);
    char separator = '{';
    for (const int key : m_order) {
        m_block += separator;
        separator = ',';
        if (key == kTimeKey) {
            m_block += "\"time\":\"";
            m_times.AppendIso(m_block, time);
            m_block += '"';
            continue;
        }
        if (key == kEpochKey) {
            m_block += "\"epoch\":";
            AppendJsonNumber(m_block, time);
            continue;
        }
        const JournalField& field = text.fields[static_cast<size_t>(key)];
        AppendJsonString(m_block, field.name);
        m_block += ':';
        if (field.isNumber) {
            AppendJsonNumber(m_block, field.number);
        } else if (field.isList) {
            char between = '[';
            for (const std::string& item : field.list) {
                m_block += between;
                between = ',';
                AppendJsonString(m_block, item);
            }
            m_block += field.list.empty() ? "[]" : "]";
        } else {
            AppendJsonString(m_block, field.text);
        }
    }
    m_block += "}\n";
}
