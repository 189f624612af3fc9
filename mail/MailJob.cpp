#include "mail/MailJob.h"

#include "mail/CSmtpSession.h"
#include "mail/MailTrace.h"
#include "mail/MimeFormat.h"

int MAIL_JOB::FillMail(CMultipartMail& mail, bool withAttachment) const {
    mail.m_sender = sender;
    mail.m_subject = subject;
    mail.m_body = body;
    int parsed = mail.ParseRecipientList(recipients, RecipientKind::To);
    parsed = mail.ParseRecipientList(cc, RecipientKind::Cc) && parsed;
    parsed = mail.ParseRecipientList(bcc, RecipientKind::Bcc) && parsed;
    if (withAttachment) mail.AttachPart(attachment, mime::kFilePart, "");
    for (const CString& path : attachments) mail.AttachPart(path, mime::kFilePart, "");
    return parsed;
}

MailOutcome MAIL_JOB::SendJob(bool withAttachment) const {
    CMultipartMail mail;
    CSmtpSession session(server, port);
    session.SetCredentials(user, password);
    session.SetSecurity(security);
    session.SetTimeouts(timeouts);
    session.SetDialogueObserver(observer);
    FillMail(mail, withAttachment);  // the entries before a malformed one are still sent to
    session.OpenSession();           // a failed opening shows as "Must be connected" below
    MailOutcome outcome;
    outcome.delivered = session.Deliver(mail) != 0;
    outcome.encrypted = session.IsEncrypted();
    outcome.verified = session.IsVerified();
    outcome.tlsProblem = session.TlsProblem();
    if (!outcome.delivered) {
        outcome.error = session.LastError();
        outcome.reason = session.LastErrorReason();
        WriteTrace(outcome.error);
    }
    outcome.refused = session.RefusedRecipients();
    outcome.authenticationProblem = session.AuthenticationProblem();
    session.EndSession();
    return outcome;
}
