#include "mail/MailText.h"

#include <algorithm>

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 64);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string DotStuffData(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 64);
    DotStuffer stuffer;
    stuffer.Feed(text, out);
    stuffer.Finish(out);
    return out;
}

void DotStuffer::Feed(std::string_view text, std::string& out) {
    while (!text.empty()) {
        if (m_pendingCr) {  // a CR LF, or a bare CR ending its line
            m_pendingCr = false;
            out += "\r\n";
            m_lineStart = true;
            if (text.front() == '\n') {
                text.remove_prefix(1);
                continue;
            }
        }
        if (m_lineStart && text.front() == '.') out += '.';
        m_lineStart = false;
        const std::size_t end = text.find_first_of("\r\n");
        out.append(text.substr(0, end));
        if (end == std::string_view::npos) return;
        if (text[end] == '\r') {
            m_pendingCr = true;
        } else {
            out += "\r\n";
            m_lineStart = true;
        }
        text.remove_prefix(end + 1);
    }
}

void DotStuffer::Finish(std::string& out) {
    if (m_pendingCr) out += "\r\n";
    m_pendingCr = false;
}

CString FoldLineBreaks(const CString& text) {
    std::string folded = text.str();
    std::replace_if(folded.begin(), folded.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return CString(std::move(folded));
}

bool HasLineBreak(const CString& text) { return text.str().find_first_of("\r\n") != std::string::npos; }

bool IsSafeAddress(const CString& address) {
    for (const char c : address.str()) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == ' ' || c == '<' || c == '>') return false;
    }
    return true;
}

CString PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80;
        if (c1) ++i;
        out += c1 || (c < 0x20 && c != '\n') || c == 0x7F ? '?' : text[i];
    }
    return CString(std::move(out));
}

CString TrimSpace(const CString& text) {
    CString trimmed = text;
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}

bool EndsWithCrLf(const CString& text) {
    const std::string& s = text.str();
    return s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0;
}

void EndWithCrLf(CString& text) {
    if (!EndsWithCrLf(text)) text += "\r\n";
}
