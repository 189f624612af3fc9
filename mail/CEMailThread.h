#pragma once
// The thread through which a host sends one notification mail without blocking its own threads.
//
//     CEMailThread* mailer = new CEMailThread;         // or AfxBeginThread(classCEMailThread, ...)
//     mailer->CreateThread(CREATE_SUSPENDED);
//     mailer->Initialize(&mailer, server, subject, recipients, sender, user, password, body, file);
//     mailer->ResumeThread();
//
// The thread composes the mail, delivers it over SMTP, writes the error text of a failed delivery
// to the trace file (MailTrace.h), stores null into the host's pointer and ends, deleting the
// object. Once the host reads null there (with an atomic load, e.g. IsMailThreadDone), it must
// not use the object again; it keeps the pointer variable alive until then. A host that wants to
// know more (a refused recipient, the server's reply) sets an outcome observer. One object sends
// one mail.
#include <functional>

#include "platform/core/CEvent.h"
#include "platform/core/CString.h"
#include "platform/core/CWinThread.h"
#include "mail/MailJob.h"
#include "mail/MailOutcome.h"
#include "mail/SmtpProtocol.h"

class CEMailThread : public CWinThread {
public:
    CEMailThread();

    static CObject* CreateObject();
    const CRuntimeClass* GetRuntimeClass() const override;

    // Stores the settings; must be complete before the thread runs. Texts longer than their
    // fields are cut (server, sender 127 characters; subject, attachment 255; recipients 511;
    // user, password 31); a null text other than `attachment` counts as empty. A null
    // `attachment` leaves the attachment path empty. `self`, when not null, is cleared by the
    // thread when it is done.
    void Initialize(CEMailThread** self, const char* server, const char* subject, const char* recipients,
                    const char* sender, const char* user, const char* password, const char* body,
                    const char* attachment);
    // The server's port, 25 unless the host sets another before the thread runs.
    void SetPort(UINT port) { m_port = port; }
    // Further settings a host may make before the thread runs; without them the mail goes as
    // the settings of Initialize describe it, with TLS when the server offers it (SmtpSecurity.h)
    // and RFC 5321's time-outs.
    void SetSecurity(const SmtpSecurity& security) { m_extras.security = security; }
    void SetTimeouts(const SmtpTimeouts& timeouts) { m_extras.timeouts = timeouts; }
    // Called on the mail thread once the mail is sent or has failed, before the host's pointer is
    // cleared, with what became of it.
    using OutcomeObserver = std::function<void(const MailOutcome&)>;
    void SetOutcomeObserver(OutcomeObserver observer) { m_outcomeObserver = std::move(observer); }
    // Called on the mail thread with the SMTP dialogue (see CSmtpSession).
    void SetDialogueObserver(CSmtpSession::DialogueObserver observer) { m_extras.observer = std::move(observer); }
    // ';'-separated Cc and Bcc lists, written like the recipient list.
    void SetCopyRecipients(const char* cc, const char* bcc);
    // One more file to attach, after the attachment of Initialize.
    void AddAttachment(const char* path);

    BOOL InitInstance() override;
    // Sends the mail, clears the host's pointer and ends the thread; does not return.
    int Run() override;
    int ExitInstance() override;

protected:
    ~CEMailThread() override = default;

private:
    char m_server[128] = {};
    char m_subject[256] = {};
    char m_recipients[512] = {};
    char m_sender[128] = {};
    char m_attachment[256] = {};
    char m_user[32] = {};
    char m_password[32] = {};
    CString m_body;
    CEvent m_start;
    CEMailThread** m_self = nullptr;
    UINT m_port = smtp::kDefaultPort;
    MAIL_JOB m_extras;  // only the additions to the written fields are used
    OutcomeObserver m_outcomeObserver;
};

// The runtime class "CEMailThread", registered when the library is loaded.
extern const CRuntimeClass* const classCEMailThread;

// True once the mail thread that `self` was given to has cleared it (an atomic read).
bool IsMailThreadDone(CEMailThread* const* self);
