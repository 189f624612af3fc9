#include "forward/Forwarder.h"

#include "forward/Backoff.h"
#include "forward/NoSigpipe.h"
#include "module/CursorFile.h"

namespace {

// How long one look for appends waits before Stop is looked at again.
constexpr int kWaitSliceMs = 250;

}  // namespace

Forwarder::Forwarder(const JournalFamily& family, ForwardSettings settings)
    : m_family(family), m_settings(std::move(settings)), m_origin{SyslogHostName(), m_settings.msgId} {}

std::string Forwarder::LastError() const {
    const std::lock_guard lock(m_mutex);
    return m_error;
}

std::vector<JournalFault> Forwarder::Damage() const {
    const std::lock_guard lock(m_mutex);
    return m_damage;
}

bool Forwarder::Fail(const std::string& error) {
    const std::lock_guard lock(m_mutex);
    m_error = error;
    return false;
}

void Forwarder::Problem(const std::string& error) {
    Fail(error);
    if (m_settings.onProblem) m_settings.onProblem(error);
}

bool Forwarder::Start(Journal& journal, const std::string& folder) {
    if (!journal.Open(folder)) return Fail(folder + ": " + journal.Error());
    std::optional<std::string> cursor;
    std::string reason;
    if (!m_settings.cursorFile.empty() && !LoadCursorFile(m_settings.cursorFile, cursor, reason))
        return Fail("cannot read " + m_settings.cursorFile + ": " + reason);
    m_saved = cursor.value_or("");
    if (!Rewind(journal)) return Fail(m_settings.cursorFile + " holds no cursor of this folder's kind");
    return true;
}

bool Forwarder::Rewind(Journal& journal) {
    m_pending.clear();
    m_waiting.store(0);
    if (m_saved.empty()) {
        journal.SeekHead();
        return true;
    }
    return journal.SeekCursor(m_saved);
}

bool Forwarder::Run(const std::string& folder) {
    Journal journal(m_family);
    if (!Start(journal, folder)) return false;
    const std::unique_ptr<SyslogTransport> transport = MakeSyslogTransport(m_settings.target, m_settings.security);
    // Once for the whole run: the transports write to sockets the server may have closed.
    const NoSigpipe noSigpipe;
    Backoff backoff;
    bool connected = false;
    while (!m_stop.load()) {
        if (!connected && !transport->Connect()) {
            Problem(transport->Error());
            if (!m_settings.follow) return false;
            backoff.Wait(m_stop);
            continue;
        }
        connected = true;
        const Batch batch = SendBatch(journal, *transport);
        if (batch == Batch::Failed) return false;
        if (batch == Batch::Broken) {
            // What was not confirmed goes again, after the last saved entry.
            Problem(transport->Error());
            transport->Close();
            connected = false;
            if (!m_settings.follow || !Rewind(journal)) return false;
            backoff.Wait(m_stop);
            continue;
        }
        backoff.Reset();
        if (batch == Batch::Idle && !m_settings.follow) return true;
        if (batch == Batch::Idle) WaitForMore(journal);
    }
    // Following ends only by Stop; a run that was to send everything did not.
    return m_settings.follow || Fail("stopped before everything was sent");
}

Forwarder::Batch Forwarder::SendBatch(Journal& journal, SyslogTransport& transport) {
    std::size_t count = 0;
    for (; count < m_settings.batch && journal.Next(); ++count) {
        journal.Render(m_text);
        m_message.clear();
        AppendSyslogMessage(m_message, m_origin, journal.Keys().time, m_text);
        m_pending.push_back(journal.Cursor());
        m_waiting.store(m_pending.size());
        if (!transport.Send(m_message)) return Batch::Broken;
    }
    TakeFaults(journal);
    const bool handed = count == 0 ? transport.Drain() : transport.Flush();
    if (!handed) return Batch::Broken;
    if (!Confirm(transport)) return Batch::Failed;
    if (m_settings.onProgress) m_settings.onProgress(m_sent.load());
    return count == 0 ? Batch::Idle : Batch::Sent;
}

bool Forwarder::Confirm(const SyslogTransport& transport) {
    const std::size_t unconfirmed = std::min(transport.Unconfirmed(), m_pending.size());
    const std::size_t confirmed = m_pending.size() - unconfirmed;
    if (confirmed == 0) return true;
    const std::string cursor = m_pending[confirmed - 1];
    std::string reason;
    if (!m_settings.cursorFile.empty() && !SaveCursorFile(m_settings.cursorFile, cursor, reason))
        return Fail("cannot write " + m_settings.cursorFile + ": " + reason);
    m_saved = cursor;
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(confirmed));
    m_sent.fetch_add(confirmed);
    m_waiting.store(m_pending.size());
    return true;
}

bool Forwarder::WaitForMore(Journal& journal) {
    while (!m_stop.load())
        if (journal.Wait(kWaitSliceMs)) return true;
    return false;
}

void Forwarder::TakeFaults(Journal& journal) {
    for (JournalFault& fault : journal.TakeFaults()) {
        if (fault.torn || fault.hidden) continue;
        Problem(DescribeDamage(fault.damage));
        const std::lock_guard lock(m_mutex);
        m_damage.push_back(std::move(fault));
    }
}
