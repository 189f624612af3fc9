#include "mail/CEMailThread.h"

#include <atomic>
#include <cstring>
#include <new>

#include <openssl/crypto.h>

#include "mail/MailJob.h"
#include "mail/MailTrace.h"
#include "module/FixedText.h"

namespace {

// Copies a text field into the job's field of the same width.
template <std::size_t N>
void CopyField(char (&to)[N], const char (&from)[N]) {
    std::memcpy(to, from, N);
}

}  // namespace

const CRuntimeClass* const classCEMailThread = RegisterDynamicClass<CEMailThread>("CEMailThread");

CEMailThread::CEMailThread() = default;

CObject* CEMailThread::CreateObject() { return new CEMailThread; }

const CRuntimeClass* CEMailThread::GetRuntimeClass() const { return classCEMailThread; }

void CEMailThread::Initialize(CEMailThread** self, const char* server, const char* subject,
                              const char* recipients, const char* sender, const char* user,
                              const char* password, const char* body, const char* attachment) {
    m_self = self;
    StoreFixedText(m_server, server);
    StoreFixedText(m_subject, subject);
    StoreFixedText(m_recipients, recipients);
    StoreFixedText(m_sender, sender);
    StoreFixedText(m_user, user);
    StoreFixedText(m_password, password);
    m_body = body;
    if (attachment) StoreFixedText(m_attachment, attachment);
}

void CEMailThread::SetCopyRecipients(const char* cc, const char* bcc) {
    m_extras.cc = cc ? cc : "";
    m_extras.bcc = bcc ? bcc : "";
}

void CEMailThread::AddAttachment(const char* path) {
    if (path) m_extras.attachments.emplace_back(path);
}

BOOL CEMailThread::InitInstance() {
    m_start.SetEvent();
    return TRUE;
}

int CEMailThread::ExitInstance() { return CWinThread::ExitInstance(); }

int CEMailThread::Run() {
    m_start.Lock();
    m_start.ResetEvent();
    MAIL_JOB job = std::move(m_extras);
    CopyField(job.server, m_server);
    CopyField(job.subject, m_subject);
    CopyField(job.sender, m_sender);
    CopyField(job.recipients, m_recipients);
    CopyField(job.user, m_user);
    CopyField(job.password, m_password);
    CopyField(job.attachment, m_attachment);
    job.body = m_body;
    job.port = m_port;
    OPENSSL_cleanse(m_password, sizeof m_password);
    MailOutcome outcome;
    try {
        outcome = job.SendJob(job.attachment[0] != '\0');
    } catch (const std::bad_alloc&) {
        outcome.error = "Not enough memory";  // an attachment too large to hold
        WriteTrace(outcome.error);
    }
    OPENSSL_cleanse(job.password, sizeof job.password);
    if (m_outcomeObserver) m_outcomeObserver(outcome);
    if (m_self) std::atomic_ref<CEMailThread*>(*m_self).store(nullptr, std::memory_order_release);
    AfxEndThread(0, TRUE);
}

bool IsMailThreadDone(CEMailThread* const* self) {
    // atomic_ref takes a mutable object; the load does not write it.
    return std::atomic_ref<CEMailThread*>(*const_cast<CEMailThread**>(self)).load(std::memory_order_acquire) ==
           nullptr;
}
