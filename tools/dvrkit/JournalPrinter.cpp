#include "tools/dvrkit/JournalPrinter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/dvrkit/JsonText.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

// Written to standard output at about this size, one call each.
constexpr std::size_t kBlockSize = 64 * 1024;

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

void JournalPrinter::AppendJson(DWORD time, const JournalText& text) {
    static const JournalField timeKey{"time"}, epochKey{"epoch"};
    m_fields.assign({&timeKey, &epochKey});
    for (const JournalField& field : text.fields) m_fields.push_back(&field);
    std::ranges::sort(m_fields, [](const JournalField* a, const JournalField* b) { return std::strcmp(a->name, b->name) < 0; });
    char separator = '{';
    for (const JournalField* field : m_fields) {
        m_block += separator;
        separator = ',';
        AppendJsonString(m_block, field->name);
        m_block += ':';
        if (field == &timeKey) {
            m_block += '"';
            m_times.AppendIso(m_block, time);
            m_block += '"';
        } else if (field == &epochKey) {
            AppendJsonNumber(m_block, time);
        } else if (field->isNumber) {
            AppendJsonNumber(m_block, field->number);
        } else if (field->isList) {
            char between = '[';
            for (const std::string& item : field->list) {
                m_block += between;
                between = ',';
                AppendJsonString(m_block, item);
            }
            m_block += field->list.empty() ? "[]" : "]";
        } else {
            AppendJsonString(m_block, field->text);
        }
    }
    m_block += "}\n";
}
