#include "mail/CEMailThread.h"

#include <atomic>
#include <cstring>
#include <new>

#include "mail/MailJob.h"
#include "mail/MailTrace.h"
#include "module/FixedText.h"

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

BOOL CEMailThread::InitInstance() {
    m_start.SetEvent();
    return TRUE;
}

int CEMailThread::ExitInstance() { return CWinThread::ExitInstance(); }

int CEMailThread::Run() {
    m_start.Lock();
    m_start.ResetEvent();
    MAIL_JOB job;
    std::memcpy(job.server, m_server, sizeof job.server);
    std::memcpy(job.subject, m_subject, sizeof job.subject);
    std::memcpy(job.sender, m_sender, sizeof job.sender);
    std::memcpy(job.recipients, m_recipients, sizeof job.recipients);
    std::memcpy(job.user, m_user, sizeof job.user);
    std::memcpy(job.password, m_password, sizeof job.password);
    std::memcpy(job.attachment, m_attachment, sizeof job.attachment);
    job.body = m_body;
    job.port = m_port;
    try {
        job.SendJob(job.attachment[0] != '\0');
    } catch (const std::bad_alloc&) {
        WriteTrace("Not enough memory");  // an attachment too large to hold
    }
    if (m_self) std::atomic_ref<CEMailThread*>(*m_self).store(nullptr, std::memory_order_release);
    AfxEndThread(0, TRUE);
}

bool IsMailThreadDone(CEMailThread* const* self) {
    return std::atomic_ref<CEMailThread* const>(*self).load(std::memory_order_acquire) == nullptr;
}
