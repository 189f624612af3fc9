#include "mail/MailJob.h"

#include "mail/CSmtpSession.h"
#include "mail/MailTrace.h"
#include "mail/MimeFormat.h"

int MAIL_JOB::FillMail(CMultipartMail& mail, bool withAttachment) const {
    mail.m_sender = sender;
    mail.m_subject = subject;
    mail.m_body = body;
    const int parsed = mail.ParseRecipientList(recipients, RecipientKind::To);
    if (withAttachment) mail.AttachPart(attachment, mime::kFilePart, "");
    return parsed;
}

void MAIL_JOB::SendJob(bool withAttachment) const {
    CMultipartMail mail;
    CSmtpSession session(server, port);
    session.SetCredentials(user, password);
    FillMail(mail, withAttachment);  // the entries before a malformed one are still sent to
    session.OpenSession();           // a failed opening shows as "Must be connected" below
    if (!session.Deliver(mail)) WriteTrace(session.LastError());
    session.EndSession();
}
