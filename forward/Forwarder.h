#pragma once
// Ships the entries of one family's folder to a central syslog server, oldest first, each once:
// the journal's cursor of the last entry the server is known to have is kept in a cursor file,
// replaced after each batch, and a restart goes on after it. An entry whose sending failed is
// sent again after a reconnection, never dropped; reconnections back off (Backoff.h). Used by the
// host's forwarding thread and by the tool.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "forward/ForwardTarget.h"
#include "forward/SyslogFormat.h"
#include "forward/SyslogTransport.h"
#include "module/Journal.h"

struct ForwardSettings {
    ForwardTarget target;
    ForwardSecurity security;
    std::string msgId;       // the family's name in each message: "log2", "event", "log1"
    std::string cursorFile;  // where the cursor is kept; none when empty (every run starts at the head)
    bool follow = false;     // go on with what is appended, and reconnect after failures, until Stop
    std::size_t batch = 512; // entries between two saves of the cursor
    // Called on the forwarding thread with each failure it recovers from (follow) and after each batch.
    std::function<void(const std::string& problem)> onProblem;
    std::function<void(std::uint64_t sent)> onProgress;
};

class Forwarder {
public:
    Forwarder(const JournalFamily& family, ForwardSettings settings);

    // Sends the folder's entries after the saved cursor. Without follow: true once all were sent
    // and the cursor saved; false at the first failure (LastError), the cursor saved after what
    // the server is known to have. With follow: runs until Stop, true unless the folder, the
    // cursor file or the journal failed for good. Stopped without follow, false.
    bool Run(const std::string& folder);
    // Ends Run soon; safe from any thread and from a signal handler.
    void Stop() { m_stop.store(true); }

    std::string LastError() const;
    // Entries the server is known to have, this run.
    std::uint64_t Sent() const { return m_sent.load(); }
    // Entries read and sent whose receipt is not yet known (at most a batch, or RELP's window).
    std::uint64_t Waiting() const { return m_waiting.load(); }
    // Damaged month files met (the entries before the damage were sent).
    std::vector<JournalFault> Damage() const;

private:
    enum class Batch { Sent, Idle, Broken, Failed };

    bool Start(Journal& journal, const std::string& folder);
    Batch SendBatch(Journal& journal, SyslogTransport& transport);
    // Moves the saved cursor past the entries the transport no longer holds unconfirmed.
    bool Confirm(const SyslogTransport& transport);
    // Positions the journal after the saved cursor (at the head without one).
    bool Rewind(Journal& journal);
    bool WaitForMore(Journal& journal);
    void TakeFaults(Journal& journal);
    bool Fail(const std::string& error);
    void Problem(const std::string& error);

    const JournalFamily& m_family;
    ForwardSettings m_settings;
    SyslogOrigin m_origin;
    std::atomic<bool> m_stop{false};
    std::atomic<std::uint64_t> m_sent{0}, m_waiting{0};
    std::string m_saved;              // the cursor in the cursor file
    std::deque<std::string> m_pending;  // cursors of the entries sent, not yet confirmed, in order
    JournalText m_text;
    std::string m_message;
    mutable std::mutex m_mutex;       // guards m_error and m_damage, which other threads read
    std::string m_error;
    std::vector<JournalFault> m_damage;
};
