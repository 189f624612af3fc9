#include "mail/CTextPartRenderer.h"

#include <algorithm>
#include <cctype>

#include "mail/MailText.h"
#include "mail/MimeFormat.h"

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// A text being rewritten while it is scanned, held as two stacks around an edit point: the text
// before the point in order, and the text after it reversed. Moving the point or editing at it
// costs only the characters passed, so the wrapping below stays linear where rebuilding the
// whole text at each break would be quadratic.
class EditableText {
public:
    explicit EditableText(std::string_view text) : m_after(text.rbegin(), text.rend()) {}

    std::size_t size() const { return m_before.size() + m_after.size(); }
    char at(std::size_t i) const {
        return i < m_before.size() ? m_before[i] : m_after[m_after.size() - 1 - (i - m_before.size())];
    }

    // Breaks the line at position `at`: the text before it loses its trailing white space, the
    // text from it on its leading white space, and a CR LF joins them.
    void BreakAt(std::size_t at) {
        MoveTo(at);
        while (!m_before.empty() && IsSpace(m_before.back())) m_before.pop_back();
        while (!m_after.empty() && IsSpace(m_after.back())) m_after.pop_back();
        m_before += "\r\n";
    }

    std::string Take() {
        std::reverse(m_after.begin(), m_after.end());
        return std::move(m_before) + m_after;
    }

private:
    void MoveTo(std::size_t at) {
        while (m_before.size() < at && !m_after.empty()) {
            m_before += m_after.back();
            m_after.pop_back();
        }
        while (m_before.size() > at) {
            m_after += m_before.back();
            m_before.pop_back();
        }
    }

    std::string m_before;
    std::string m_after;  // reversed
};

}  // namespace

CTextPartRenderer::CTextPartRenderer(int wrapWidth)
    : CPartRenderer(mime::kTextPart), m_wrapWidth(std::max(wrapWidth, 1)) {}

CString CTextPartRenderer::ContentTypeName() const { return mime::kTextType; }

CString CTextPartRenderer::BuildPartHeader(const CString&, const CString& parameter) {
    CString header;
    header.Format("Content-Type: %s%s\r\n", ContentTypeName().c_str(), parameter.c_str());
    return header + "Content-Transfer-Encoding: " + mime::kTextEncoding + "\r\n\r\n";
}

BOOL CTextPartRenderer::Render(const CString& content, const CString& parameter, CString& body) {
    body += BuildPartHeader(content, parameter);
    // Line ends become CR LF first, so that wrapping counts lines as the reader will see them.
    body += CString(WrapText(ToCrLf(content.str())));
    return 1;
}

// The wrapping rule, kept exactly for the texts it produces: scan with an index i, remembering the
// position s of the last blank seen (never reset) and a count n of characters since the last CR
// LF. When n passes the width, break at s (or at 0 when no blank was seen yet) and restart the
// count. The index is not adjusted after a break, and s keeps its number while the text around
// it moves, so the result follows the text as rewritten so far.
std::string CTextPartRenderer::WrapText(std::string_view text) const {
    EditableText t(text);
    std::size_t lastBlank = 0;
    int count = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t.at(i) == ' ') lastBlank = i;
        if (t.at(i) == '\r' && i + 1 < t.size() && t.at(i + 1) == '\n') count = 0;
        if (count > m_wrapWidth) {
            t.BreakAt(lastBlank);
            count = 0;
        } else {
            ++count;
        }
    }
    return t.Take();
}
