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
    const std::string lines = ToCrLf(text);
    std::string out;
    out.reserve(lines.size() + lines.size() / 64);
    bool lineStart = true;
    for (const char c : lines) {
        if (lineStart && c == '.') out += '.';
        out += c;
        lineStart = c == '\n';  // after ToCrLf every LF ends a line
    }
    return out;
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
