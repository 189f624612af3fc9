// dvrkit mail: send one notification mail through a mail thread, or print the mail it would send.
#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "mail/CEMailThread.h"
#include "mail/MailJob.h"
#include "mail/MailTrace.h"
#include "module/FixedText.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/FileBytes.h"

namespace {

struct MailOptions {
    std::string server, from, to, subject, body, bodyFile, attach, user, passwordFile;
    unsigned port = smtp::kDefaultPort;
};

// Refuses a text that the mail thread's field of `size` bytes would cut.
void CheckLength(const char* what, const std::string& text, size_t size) {
    if (text.size() >= size)
        throw CommandError{std::string(what) + " is longer than " + std::to_string(size - 1) + " characters"};
}

std::string ReadTextFile(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The first line of the password file, without its line end.
std::string ReadPassword(const std::string& path) {
    const std::string text = ReadTextFile(path);
    return text.substr(0, text.find_first_of("\r\n"));
}

// The job the options describe, checked against the mail thread's field sizes.
MAIL_JOB JobOf(const MailOptions& o) {
    MAIL_JOB job;
    CheckLength("the server", o.server, sizeof job.server);
    CheckLength("the sender", o.from, sizeof job.sender);
    CheckLength("the recipient list", o.to, sizeof job.recipients);
    CheckLength("the subject", o.subject, sizeof job.subject);
    CheckLength("the attachment path", o.attach, sizeof job.attachment);
    CheckLength("the user", o.user, sizeof job.user);
    StoreFixedText(job.server, o.server.c_str());
    StoreFixedText(job.sender, o.from.c_str());
    StoreFixedText(job.recipients, o.to.c_str());
    StoreFixedText(job.subject, o.subject.c_str());
    StoreFixedText(job.attachment, o.attach.c_str());
    StoreFixedText(job.user, o.user.c_str());
    if (!o.passwordFile.empty()) {
        const std::string password = ReadPassword(o.passwordFile);
        CheckLength("the password", password, sizeof job.password);
        StoreFixedText(job.password, password.c_str());
    }
    job.body = o.bodyFile.empty() ? CString(o.body) : CString(ReadTextFile(o.bodyFile));
    job.port = o.port;
    CMultipartMail probe;
    if (!job.FillMail(probe, false))
        throw CommandError{"the recipient list has an entry with \"<\" but no \">\" after it, or a line break"};
    if (probe.RecipientCount(RecipientKind::To) == 0) throw CommandError{"the recipient list holds no address"};
    return job;
}

void ComposeMail(const MailOptions& o) {
    const MAIL_JOB job = JobOf(o);
    CMultipartMail mail;
    job.FillMail(mail, job.attachment[0] != '\0');
    mail.Prepare();
    std::cout << mail.HeaderText().str() << mail.m_body.str() << std::flush;
}

void SendMail(const MailOptions& o) {
    if (o.server.empty()) throw CommandError{"--server is required to send"};
    const MAIL_JOB job = JobOf(o);
    CEMailThread* thread = new CEMailThread;
    thread->CreateThread(CREATE_SUSPENDED);
    thread->SetPort(job.port);
    thread->Initialize(&thread, job.server, job.subject, job.recipients, job.sender, job.user, job.password,
                       job.body, job.attachment[0] ? job.attachment : nullptr);
    thread->ResumeThread();
    while (!IsMailThreadDone(&thread)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const CString error = LastTraceText();
    if (!error.IsEmpty()) throw CommandError{std::string("the mail was not delivered: ") + error.c_str()};
    std::cout << "delivered to " << job.server << ":" << job.port << "\n";
}

// Adds the options of both commands to `c`, and `run` as its action.
void AddMailOptions(CLI::App* c, MailOptions& o, void (*run)(const MailOptions&)) {
    c->add_option("--server", o.server, "SMTP server: host name or address");
    c->add_option("--port", o.port, "SMTP port")->check(CLI::Range(1, 65535));
    c->add_option("--from", o.from, "Sender address")->required();
    c->add_option("--to", o.to, "Recipients: \"name <address>\" or \"address\", separated by ';'")->required();
    c->add_option("--subject", o.subject, "Subject")->required();
    auto* body = c->add_option("--body", o.body, "Body text");
    auto* bodyFile = c->add_option("--body-file", o.bodyFile, "File holding the body text")->check(CLI::ExistingFile);
    body->excludes(bodyFile);
    c->add_option("--attach", o.attach, "File to attach")->check(CLI::ExistingFile);
    auto* user = c->add_option("--user", o.user, "User for AUTH LOGIN");
    auto* password = c->add_option("--password-file", o.passwordFile, "File whose first line is the password")
                         ->check(CLI::ExistingFile);
    user->needs(password);
    password->needs(user);
    c->callback([&o, run, body, bodyFile] {
        if (body->count() + bodyFile->count() == 0) throw CommandError{"--body or --body-file is required"};
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
