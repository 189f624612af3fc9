#pragma once
// Line ends, dot-stuffing and header-text safety for the mail's text, in one place.
//
// The mail goes to the server as lines that end in CR LF, after DATA, up to a line holding a lone
// "." (RFC 5321 4.5.2). Three things can break that:
// - a bare CR or LF in the text: strict servers refuse it, and on lenient ones "\n.\r\n" may
//   end the data early and let the rest be read as commands (SMTP smuggling). Every line end of
//   the text is therefore made CR LF before the text is sent;
// - a line that starts with ".": the server removes one leading dot of every line, so each such
//   line gets a second dot;
// - CR or LF inside a header text or an address: it would start a new header line or a new
//   command. Header texts fold them into blanks; addresses holding them, or anything else that
//   ends an address early, are refused.
#include <string>
#include <string_view>

#include "platform/core/CString.h"

// `text` with every CR LF, bare CR and bare LF turned into CR LF.
std::string ToCrLf(std::string_view text);
// `text` with CR LF line ends, each line that starts with "." given one more "." in front.
std::string DotStuffData(std::string_view text);

// The same, for a text that comes in pieces: a line end or a line start may fall between two.
class DotStuffer {
public:
    // Appends the stuffed form of `text` to `out`.
    void Feed(std::string_view text, std::string& out);
    // Appends what the end of the text decides: a CR at the very end becomes CR LF.
    void Finish(std::string& out);

private:
    bool m_lineStart = true;
    bool m_pendingCr = false;
};

// `text` with each CR and LF replaced by a blank.
CString FoldLineBreaks(const CString& text);
// True when `text` holds a CR or an LF.
bool HasLineBreak(const CString& text);
// True when `address` can stand between the angle brackets of MAIL FROM or RCPT TO without
// changing the command: no "<", ">", blank or control character (CR and LF among them), which
// would end the address and let the rest pass as parameters or as a new command.
bool IsSafeAddress(const CString& address);
// `text` safe to show on a terminal or to write to a file a person reads: each control character
// but LF (C0, DEL, and C1 written as UTF-8) becomes "?", so that a server's reply cannot move the
// cursor, change colours or rewrite what was printed before.
CString PrintableText(std::string_view text);
// `text` without the white space (blank, tab, CR, LF, vertical tab, form feed) at its ends.
CString TrimSpace(const CString& text);

bool EndsWithCrLf(const CString& text);
// Appends CR LF unless `text` already ends with it.
void EndWithCrLf(CString& text);
