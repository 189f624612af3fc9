// dvrkit mail: send one notification mail through a mail thread, or print the mail it would send.
#include <sys/prctl.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <openssl/crypto.h>

#include "mail/CEMailThread.h"
#include "mail/MailJob.h"
#include "mail/MailOutcome.h"
#include "mail/MailText.h"
#include "mail/MailTrace.h"
#include "module/FixedText.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/MailInput.h"

namespace {

struct MailOptions {
    std::string server, from, to, cc, bcc, subject, body, bodyFile, user, passwordFile, tls = "auto", caFile;
    std::vector<std::string> attachments;
    unsigned port = smtp::kDefaultPort;
    bool portGiven = false;
    unsigned timeoutSeconds = 0;  // 0: the session's own
    bool verbose = false;
};

const std::pair<const char*, SmtpTlsMode> kTlsModes[] = {
    {"auto", SmtpTlsMode::WhenOffered},
    {"opportunistic", SmtpTlsMode::Opportunistic},
    {"starttls", SmtpTlsMode::Required},
    {"smtps", SmtpTlsMode::Implicit},
    {"off", SmtpTlsMode::Off},
};

// Refuses a text that the mail thread's field of `size` bytes would cut.
void CheckLength(const char* what, const std::string& text, size_t size) {
    if (text.size() >= size)
        throw CommandError{std::string(what) + " is longer than " + std::to_string(size - 1) + " characters"};
}

// The first line of the password file, without its line end. The process cannot be dumped from
// here on, so that no core file holds the password.
std::string ReadPassword(const std::string& path) {
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    std::string text = ReadWholeFile(path);
    std::string password = text.substr(0, text.find_first_of("\r\n"));
    OPENSSL_cleanse(text.data(), text.size());
    return password;
}

SmtpSecurity SecurityOf(const MailOptions& o) {
    SmtpSecurity security;
    for (const auto& [name, mode] : kTlsModes)
        if (o.tls == name) security.mode = mode;
    security.caFile = o.caFile;
    return security;
}

SmtpTimeouts TimeoutsOf(const MailOptions& o) {
    SmtpTimeouts timeouts;
    if (o.timeoutSeconds == 0) return timeouts;
    const int ms = static_cast<int>(o.timeoutSeconds) * 1000;
    timeouts.connect = timeouts.greeting = timeouts.command = ms;
    timeouts.dataStart = timeouts.dataBlock = timeouts.dataEnd = ms;
    return timeouts;
}

// The dialogue on stderr, each line marked with who sent it. The session masks credentials.
void ShowDialogue(bool fromClient, std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::cerr << (fromClient ? "C: " : "S: ") << text.substr(0, end) << "\n";
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

// Addresses that would end their angle brackets early in MAIL FROM or RCPT TO, refused before
// anything is sent (the session refuses them too).
void RefuseUnsafeAddresses(const CMultipartMail& mail) {
    if (!mail.HasSafeSender()) throw CommandError{std::string("Invalid address: ") + mail.m_sender.c_str()};
    for (const RecipientKind kind : {RecipientKind::To, RecipientKind::Cc, RecipientKind::Bcc}) {
        CString address, name;
        for (int i = 0; mail.RecipientAt(i, address, name, kind); ++i)
            if (!IsSafeAddress(address)) throw CommandError{std::string("Invalid address: ") + address.c_str()};
    }
}

// The job the options describe, checked against the mail thread's field sizes.
MAIL_JOB JobOf(const MailOptions& o) {
    MAIL_JOB job;
    const std::string first = o.attachments.empty() ? std::string() : o.attachments.front();
    CheckLength("the server", o.server, sizeof job.server);
    CheckLength("the sender", o.from, sizeof job.sender);
    CheckLength("the recipient list", o.to, sizeof job.recipients);
    CheckLength("the subject", o.subject, sizeof job.subject);
    CheckLength("the attachment path", first, sizeof job.attachment);
    CheckLength("the user", o.user, sizeof job.user);
    for (const std::string& path : o.attachments) CheckAttachable(path);
    StoreFixedText(job.server, o.server.c_str());
    StoreFixedText(job.sender, o.from.c_str());
    StoreFixedText(job.recipients, o.to.c_str());
    StoreFixedText(job.subject, o.subject.c_str());
    StoreFixedText(job.attachment, first.c_str());
    StoreFixedText(job.user, o.user.c_str());
    for (std::size_t i = 1; i < o.attachments.size(); ++i) job.attachments.emplace_back(o.attachments[i]);
    job.cc = o.cc;
    job.bcc = o.bcc;
    job.body = o.bodyFile.empty() ? CString(o.body) : CString(ReadWholeFile(o.bodyFile));
    job.security = SecurityOf(o);
    job.port = o.portGiven || job.security.mode != SmtpTlsMode::Implicit ? o.port : smtp::kImplicitTlsPort;
    job.timeouts = TimeoutsOf(o);
    if (o.verbose) job.observer = ShowDialogue;
    CMultipartMail probe;
    if (!job.FillMail(probe, false))
        throw CommandError{"a recipient list has an entry with \"<\" but no \">\" after it, or a line break"};
    if (probe.RecipientCount(RecipientKind::To) == 0) throw CommandError{"the recipient list holds no address"};
    RefuseUnsafeAddresses(probe);
    if (!o.passwordFile.empty()) {
        std::string password = ReadPassword(o.passwordFile);
        const bool fits = password.size() < sizeof job.password;
        if (fits) StoreFixedText(job.password, password.c_str());
        OPENSSL_cleanse(password.data(), password.size());
        if (!fits) throw CommandError{"the password is longer than 31 characters"};
    }
    return job;
}

// Standard output as the mail's text goes by; a failed write ends the command.
class StdoutSink : public MailTextSink {
public:
    void Write(std::string_view text) override {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
            throw CommandError{std::string("standard output: ") + std::strerror(errno)};
    }
};

void ComposeMail(const MailOptions& o) {
    const MAIL_JOB job = JobOf(o);
    CMultipartMail mail;
    job.FillMail(mail, job.attachment[0] != '\0');
    mail.PrepareHeader();
    StdoutSink out;
    out.Write(mail.HeaderText().str());
    mail.WriteBody(out);
    if (std::fflush(stdout) != 0) throw CommandError{std::string("standard output: ") + std::strerror(errno)};
}

// Says on stderr what the person should know of a delivery that went through: no login, no
// verified certificate.
void ShowNotes(const MailOutcome& outcome) {
    if (!outcome.authenticationProblem.IsEmpty() && outcome.reason.Find(outcome.authenticationProblem) < 0)
        std::cerr << "dvrkit: mail send: not logging in: " << outcome.authenticationProblem.c_str() << "\n";
    if (outcome.encrypted && !outcome.verified)
        std::cerr << "dvrkit: mail send: encrypted, but not verified: " << outcome.tlsProblem.c_str() << "\n";
}

// The failure, if any, as the command's error.
void CheckOutcome(const MailOutcome& outcome) {
    if (!outcome.delivered)
        throw CommandError{std::string("the mail was not delivered: ") +
                           ErrorWithReason(outcome.error, outcome.reason).c_str()};
    if (outcome.refused.empty()) return;
    std::string refused;
    for (const CSmtpSession::Refusal& r : outcome.refused)
        refused += std::string(refused.empty() ? "" : "; ") + r.address.c_str() + " (" + r.reason.c_str() + ")";
    throw CommandError{"the server refused " + refused + "; the mail went to the other recipients"};
}

void SendMail(const MailOptions& o) {
    if (o.server.empty()) throw CommandError{"--server is required to send"};
    MAIL_JOB job = JobOf(o);
    MailOutcome outcome;
    CEMailThread* thread = new CEMailThread;
    thread->CreateThread(CREATE_SUSPENDED);
    thread->SetPort(job.port);
    thread->SetSecurity(job.security);
    thread->SetTimeouts(job.timeouts);
    thread->SetDialogueObserver(job.observer);
    // Written on the mail thread before it clears `thread`, and read only after that.
    thread->SetOutcomeObserver([&outcome](const MailOutcome& result) { outcome = result; });
    thread->SetCopyRecipients(job.cc, job.bcc);
    for (const CString& path : job.attachments) thread->AddAttachment(path);
    thread->Initialize(&thread, job.server, job.subject, job.recipients, job.sender, job.user, job.password,
                       job.body, job.attachment[0] ? job.attachment : nullptr);
    OPENSSL_cleanse(job.password, sizeof job.password);
    thread->ResumeThread();
    while (!IsMailThreadDone(&thread)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const CString problem = TraceProblem();
    if (!problem.IsEmpty()) std::cerr << "dvrkit: mail send: not traced: " << problem.c_str() << "\n";
    ShowNotes(outcome);
    CheckOutcome(outcome);
    std::cout << "delivered to " << job.server << ":" << job.port << "\n";
}

// Adds the options of both commands to `c`, and `run` as its action.
void AddMailOptions(CLI::App* c, MailOptions& o, void (*run)(const MailOptions&)) {
    c->add_option("--server", o.server, "SMTP server: host name or address");
    auto* port = c->add_option("--port", o.port, "SMTP port (25; 465 with --tls smtps)")->check(CLI::Range(1, 65535));
    c->add_option("--from", o.from, "Sender: \"address\" or \"name <address>\"")->required();
    c->add_option("--to", o.to, "Recipients: \"name <address>\" or \"address\", separated by ';' or ','")->required();
    c->add_option("--cc", o.cc, "Copy recipients, written like --to");
    c->add_option("--bcc", o.bcc, "Blind copy recipients, written like --to");
    c->add_option("--subject", o.subject, "Subject")->required();
    auto* body = c->add_option("--body", o.body, "Body text");
    auto* bodyFile = c->add_option("--body-file", o.bodyFile, "File holding the body text; - for standard input");
    body->excludes(bodyFile);
    c->add_option("--attach", o.attachments, "File to attach; may be given several times");
    auto* user = c->add_option("--user", o.user, "User for AUTH LOGIN or PLAIN");
    auto* password = c->add_option("--password-file", o.passwordFile, "File whose first line is the password")
                         ->check(CLI::ExistingFile);
    user->needs(password);
    password->needs(user);
    c->add_option("--tls", o.tls,
                  "auto: EHLO, and STARTTLS with a verified certificate when the server offers it (credentials "
                  "only over TLS); opportunistic: as a host's mail thread does by default (STARTTLS when offered, "
                  "encrypting even when the certificate does not verify; credentials also over plain text); "
                  "starttls: required; smtps: TLS from the start; off: plain text throughout")
        ->check(CLI::IsMember({"auto", "opportunistic", "starttls", "smtps", "off"}));
    c->add_option("--ca-file", o.caFile, "PEM file of the certificates to trust instead of the system's")
        ->check(CLI::ExistingFile);
    c->add_option("--timeout", o.timeoutSeconds, "Seconds to wait for the server at each step")
        ->check(CLI::Range(1, 24 * 60 * 60));
    c->add_flag("--verbose", o.verbose, "Show the SMTP dialogue on stderr, credentials masked");
    c->callback([&o, run, body, bodyFile, port] {
        if (body->count() + bodyFile->count() == 0) throw CommandError{"--body or --body-file is required"};
        o.portGiven = port->count() > 0;
        run(o);
    });
}

void AddMailCommands(CLI::App& app) {
    CLI::App* mail = app.add_subcommand("mail", "Notification mail over SMTP");
    mail->require_subcommand(1);

    static MailOptions send, compose;
    CLI::App* s = mail->add_subcommand("send", "Send one mail through a mail thread; the error text on failure");
    AddMailOptions(s, send, SendMail);

    CLI::App* c = mail->add_subcommand("compose", "Print the mail text that send would deliver, without sending");
    AddMailOptions(c, compose, ComposeMail);
}

const CommandGroups::Add registration(50, AddMailCommands);

}  // namespace
