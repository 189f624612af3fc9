#pragma once
// What became of one mail: what a mail thread tells its host when the host asks for it.
#include <vector>

#include "mail/CSmtpSession.h"
#include "platform/core/CString.h"

struct MailOutcome {
    bool delivered = false;  // the server accepted the mail
    CString error = "OK";    // the session's error text, as the trace file holds it
    CString reason;          // why, in the server's or the system's words
    // The recipients the server refused; the mail went to the others.
    std::vector<CSmtpSession::Refusal> refused;
    // Why the session, given credentials, did not log in; empty when it did or had none.
    CString authenticationProblem;
    bool encrypted = false;
    bool verified = false;  // the server's certificate verified
    CString tlsProblem;     // why it did not, when encrypted

    // Delivered to every recipient.
    bool Succeeded() const { return delivered && refused.empty(); }
};
