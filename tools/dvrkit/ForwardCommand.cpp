// dvrkit forward: ships the entries of a folder to a central syslog server, each once.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>

#include "event/EventJournal.h"
#include "forward/Forwarder.h"
#include "log1/EntryJournal.h"
#include "log2/LogJournal.h"
#include "tools/dvrkit/Commands.h"

namespace {

struct ForwardOptions {
    std::string dir, family, to, cursorFile, caFile, certFile, keyFile;
    unsigned timeoutSeconds = 30;
    bool follow = false, relpTls = false;
};

const JournalFamily& FamilyOf(const std::string& name) {
    if (name == "event") return EventJournalFamily();
    if (name == "log1") return EntryJournalFamily();
    return LogJournalFamily();
}

Forwarder* running = nullptr;
extern "C" void StopForwarding(int) {
    if (running != nullptr) running->Stop();
}

void StopOnSignals(Forwarder& forwarder) {
    running = &forwarder;
    struct sigaction action {};
    action.sa_handler = StopForwarding;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

ForwardSettings SettingsOf(const ForwardOptions& o) {
    ForwardSettings settings;
    std::string error;
    if (!ParseForwardTarget(o.to, settings.target, error)) throw CommandError{"--to " + o.to + ": " + error};
    settings.security.relpTls = o.relpTls;
    settings.security.caFile = o.caFile;
    settings.security.certFile = o.certFile;
    settings.security.keyFile = o.keyFile;
    settings.security.timeoutMs = static_cast<int>(o.timeoutSeconds) * 1000;
    settings.msgId = o.family;
    settings.cursorFile = o.cursorFile;
    settings.follow = o.follow;
    // Following, each failure is said once as it happens; the forwarder goes on after it.
    if (o.follow) settings.onProblem = [](const std::string& problem) { std::cerr << "dvrkit: forward: " << problem << "\n"; };
    if (isatty(STDERR_FILENO))
        settings.onProgress = [](std::uint64_t sent) { std::cerr << "\rforwarded " << sent << " entries" << std::flush; };
    return settings;
}

void Forward(const ForwardOptions& o) {
    if (o.relpTls && !o.to.starts_with("relp://")) throw CommandError{"--relp-tls is for relp:// targets"};
    Forwarder forwarder(FamilyOf(o.family), SettingsOf(o));
    StopOnSignals(forwarder);
    const bool done = forwarder.Run(o.dir);
    running = nullptr;
    if (isatty(STDERR_FILENO)) std::cerr << "\r\033[K";
    if (!done) throw CommandError{"forward: " + forwarder.LastError() + " (" + std::to_string(forwarder.Sent()) + " sent)"};
    const auto damage = forwarder.Damage();
    if (!damage.empty()) throw CommandError{DescribeDamage(damage.front().damage), 2};
    std::cout << forwarder.Sent() << " entries sent\n";
}

void AddForwardCommand(CLI::App& app) {
    static ForwardOptions o;
    CLI::App* c = app.add_subcommand(
        "forward", "Send a folder's logs or events to a central syslog server as RFC 5424 messages, each once");
    c->add_option("DIR", o.dir, "The folder of month files")->required();
    c->add_option("--family", o.family, "What the folder holds: log2, event or log1")
        ->required()
        ->check(CLI::IsMember({"log2", "event", "log1"}));
    c->add_option("--to", o.to,
                  "relp://HOST:PORT (acknowledged), syslog+tls://HOST:PORT (RFC 5425) or syslog+tcp://HOST:PORT "
                  "(RFC 6587, octet counting)")
        ->required();
    c->add_option("--cursor-file", o.cursorFile,
                  "Start after the cursor stored in FILE, if it exists; store there the last entry the server is known "
                  "to have, after each batch")
        ->required()
        ->type_name("FILE");
    c->add_option("--ca-file", o.caFile, "PEM file of the certificates to trust instead of the system's")
        ->check(CLI::ExistingFile);
    auto* cert = c->add_option("--cert", o.certFile, "PEM file of the client's certificate, for a server that asks")
                     ->check(CLI::ExistingFile);
    auto* key = c->add_option("--key", o.keyFile, "PEM file of the client certificate's key")->check(CLI::ExistingFile);
    cert->needs(key);
    key->needs(cert);
    c->add_flag("--relp-tls", o.relpTls, "RELP over TLS (the certificate checked as for syslog+tls)");
    c->add_option("--timeout", o.timeoutSeconds, "Seconds to wait for the server to connect, take or answer (30)")
        ->check(CLI::Range(1, 3600));
    c->add_flag("--follow", o.follow,
                "Go on with what is appended, reconnecting after failures (0.5 s doubling to 30 s), until SIGINT or "
                "SIGTERM; without it, exit 0 only when everything was sent");
    c->callback([] { Forward(o); });
}

const CommandGroups::Add registration(55, AddForwardCommand);

}  // namespace
