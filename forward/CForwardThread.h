#pragma once
// The thread through which a host forwards one folder's entries to a central syslog server
// without blocking its own threads, for as long as it runs:
//
//     CForwardThread forwarder;
//     ForwardOptions options;
//     options.cursorFile = "/var/lib/recorder/events.cursor";
//     if (!forwarder.Start("/data/events", EventJournalFamily(), "relp://central:2514", options))
//         report(forwarder.LastError());
//     ...
//     forwarder.Stop();
//
// The thread sends what the folder holds after the saved cursor, then what is appended, and
// reconnects after failures with pauses that grow to 30 s (Forwarder.h). Unlike the mail thread,
// which deletes itself once its one mail is sent, the host owns this object: it asks it what was
// sent and what went wrong at any time, before and after Stop.
#include <cstdint>
#include <memory>
#include <string>

#include "forward/ForwardTarget.h"
#include "module/JournalFamily.h"
#include "platform/core/CEvent.h"

class Forwarder;

struct ForwardOptions {
    ForwardSecurity security;
    std::string msgId;       // the family's name in the messages: "log2", "event" or "log1"
    std::string cursorFile;  // where the cursor is kept; without one, each Start begins at the oldest entry
};

class CForwardThread {
public:
    CForwardThread();
    ~CForwardThread();  // stops the thread
    CForwardThread(const CForwardThread&) = delete;
    CForwardThread& operator=(const CForwardThread&) = delete;

    // Starts forwarding `folder`, whose month files are of `family` (which must outlive the
    // thread), to `target` (relp://HOST:PORT, syslog+tls://HOST:PORT, syslog+tcp://HOST:PORT).
    // False, with LastError, when the target is no such text, or a thread is already running.
    bool Start(const std::string& folder, const JournalFamily& family, const std::string& target,
               const ForwardOptions& options);
    // Ends the thread and waits for it (at most one time-out of the transport); the cursor stays
    // after what the server is known to have.
    void Stop();
    // Whether the thread runs; false once it ended for good (a folder or cursor file it cannot use).
    bool IsRunning() const;

    // The last failure: a connection refused or broken, a damaged month file, a cursor file that
    // cannot be written; empty while none happened.
    std::string LastError() const;
    // Entries the server is known to have since Start, and entries sent but not yet known to be.
    std::uint64_t Sent() const;
    std::uint64_t Waiting() const;

private:
    class Worker;

    std::unique_ptr<Forwarder> m_forwarder;
    Worker* m_worker = nullptr;  // the running thread object, deleted when it ends
    std::shared_ptr<CEvent> m_ended;
    std::string m_startError;
};
