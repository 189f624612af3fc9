#pragma once
// One send job of a mail thread: the mail's settings in fixed fields, and the composition and
// delivery of the mail they describe.
#include "mail/CMultipartMail.h"
#include "mail/SmtpProtocol.h"
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

    // Fills `mail` with sender, subject, body and To list, and queues the attachment when
    // `withAttachment` is set. The result of parsing the recipients: 0 at a malformed entry.
    int FillMail(CMultipartMail& mail, bool withAttachment) const;
    // Composes the mail and delivers it; a failed delivery writes the session's error text to
    // the trace file.
    void SendJob(bool withAttachment) const;
};
