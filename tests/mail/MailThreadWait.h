#pragma once
// Starting a mail thread as a host does, and waiting for it to clear the host's pointer.
#include <chrono>
#include <thread>

#include "mail/CEMailThread.h"

struct MailSettings {
    const char* server = "127.0.0.1";
    unsigned port = 25;
    const char* subject = "Camera 3 alarm";
    const char* recipients = "Bob <bob@example.com>; carol@example.com";
    const char* sender = "alarm@dvr.example";
    const char* user = "";
    const char* password = "";
    const char* body = "Motion detected.";
    const char* attachment = nullptr;
    SmtpSecurity security;
    CEMailThread::OutcomeObserver outcome;
};

// Creates the thread suspended, initialises it with `self` as the host's pointer, and starts it.
inline void StartMailThread(const MailSettings& s, CEMailThread** self) {
    CEMailThread* thread = new CEMailThread;
    thread->CreateThread(CREATE_SUSPENDED);
    thread->SetPort(s.port);
    thread->SetSecurity(s.security);
    thread->SetOutcomeObserver(s.outcome);
    if (self) *self = thread;
    thread->Initialize(self, s.server, s.subject, s.recipients, s.sender, s.user, s.password, s.body,
                       s.attachment);
    thread->ResumeThread();
}

// Sends one mail and waits until the thread has cleared the pointer; false after 30 seconds.
inline bool SendAndWait(const MailSettings& s) {
    CEMailThread* self = nullptr;
    StartMailThread(s, &self);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!IsMailThreadDone(&self)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
