#include "mail/CTextPartRenderer.h"

#include <algorithm>
#include <cctype>

#include "mail/MailText.h"
#include "mail/MimeFormat.h"
#include "mail/QuotedPrintable.h"

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
    // text from it on its leading white space, and a CR LF joins them. Returns where the new line
    // starts.
    std::size_t BreakAt(std::size_t at) {
        MoveTo(at);
        while (!m_before.empty() && IsSpace(m_before.back())) m_before.pop_back();
        while (!m_after.empty() && IsSpace(m_after.back())) m_after.pop_back();
        m_before += "\r\n";
        return m_before.size();
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

CTextPartRenderer::Shape CTextPartRenderer::ShapeOf(std::string_view text) const {
    bool ascii = true, nul = false;
    std::size_t longest = 0, lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        ascii = ascii && c < 0x80;
        nul = nul || c == 0;
        if (c == '\n') {
            longest = std::max(longest, i > lineStart ? i - 1 - lineStart : 0);  // less its CR
            lineStart = i + 1;
        }
    }
    longest = std::max(longest, text.size() - lineStart);
    const bool fits = longest <= mime::kMaxLineLength && !nul;
    if (fits && ascii) return {Form::SevenBit, true};
    if (fits && m_eightBitAllowed) return {Form::EightBit, ascii};
    return {Form::QuotedPrintable, ascii};
}

CString CTextPartRenderer::Header(const Shape& shape, const CString& parameter) const {
    static constexpr const char* kEncodings[] = {mime::kTextEncoding, mime::kEightBitEncoding,
                                                 mime::kQuotedPrintableEncoding};
    CString header;
    header.Format("Content-Type: %s%s%s\r\n", ContentTypeName().c_str(), shape.ascii ? "" : mime::kTextCharset,
                  parameter.c_str());
    return header + "Content-Transfer-Encoding: " + kEncodings[static_cast<int>(shape.form)] + "\r\n\r\n";
}

CString CTextPartRenderer::BuildPartHeader(const CString& content, const CString& parameter) {
    return Header(ShapeOf(WrapText(ToCrLf(content.str()))), parameter);
}

bool CTextPartRenderer::UsesEightBit(const CString& content) const {
    return ShapeOf(WrapText(ToCrLf(content.str()))).form == Form::EightBit;
}

BOOL CTextPartRenderer::Render(const CString& content, const CString& parameter, CString& body) {
    // Line ends become CR LF first, so that wrapping counts lines as the reader will see them.
    std::string text = WrapText(ToCrLf(content.str()));
    const Shape shape = ShapeOf(text);
    body += Header(shape, parameter);
    if (shape.form == Form::QuotedPrintable) text = QuotedPrintable(text);
    body += CString(std::move(text));
    return 1;
}

// The wrapping rule, kept for the texts it produces: scan with an index i, remembering the
// position s of the last blank seen (never reset) and a count n of characters since the last CR
// LF. When n passes the width, break at s and restart the count. The index is not adjusted after
// a break, and s keeps its number while the text around it moves, so the result follows the text
// as rewritten so far. A break is made only where s still holds a blank and follows a character of
// the current line that is not white space: a blank of an earlier line, or none at all, would cut
// a line that is not too long or a word, so such a line is left whole for the transfer encoding
// to carry.
std::string CTextPartRenderer::WrapText(std::string_view text) const {
    constexpr std::size_t kNone = std::string_view::npos;
    EditableText t(text);
    std::size_t lastBlank = kNone, lineText = kNone;  // lineText: the line's first non-space
    int count = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t.at(i) == ' ') lastBlank = i;
        if (lineText == kNone && !IsSpace(t.at(i))) lineText = i;
        if (t.at(i) == '\r' && i + 1 < t.size() && t.at(i + 1) == '\n') {
            count = 0;
            lineText = kNone;
        }
        const bool breakable = lineText != kNone && lastBlank != kNone && lastBlank > lineText &&
                               lastBlank < t.size() && t.at(lastBlank) == ' ';
        if (count > m_wrapWidth && breakable) {
            lineText = t.BreakAt(lastBlank);
            count = 0;
        } else {
            ++count;
        }
    }
    return t.Take();
}
