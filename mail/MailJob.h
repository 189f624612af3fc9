#pragma once
// One send job of a mail thread: the mail's settings in fixed fields, and the composition and
// delivery of the mail they describe.
#include <vector>

#include "mail/CMultipartMail.h"
#include "mail/CSmtpSession.h"
#include "mail/MailOutcome.h"
#include "mail/SmtpProtocol.h"
#include "mail/SmtpSecurity.h"
#include "platform/core/CString.h"
#include "platform/core/Types.h"

struct MAIL_JOB {
    char server[128] = {};
    char subject[256] = {};
    char sender[128] = {};
    char recipients[512] = {};  // ';'-separated To list
    char user[32] = {};
    char password[32] = {};
    char attachment[256] = {};  // file path, empty for none
    CString body;
    UINT port = smtp::kDefaultPort;
    // What a host may add to the written settings.
    SmtpSecurity security;
    SmtpTimeouts timeouts;
    CSmtpSession::DialogueObserver observer;
    CString cc, bcc;                   // ';'-separated, like the To list
    std::vector<CString> attachments;  // after the one of `attachment`

    // Fills `mail` with sender, subject, body and the To, Cc and Bcc lists, and queues the
    // attachment when `withAttachment` is set, then the further attachments. The result of
    // parsing the recipients: 0 at a malformed entry.
    int FillMail(CMultipartMail& mail, bool withAttachment) const;
    // Composes the mail and delivers it; a failed delivery writes the session's error text to
    // the trace file. Returns what became of it.
    MailOutcome SendJob(bool withAttachment) const;
};
