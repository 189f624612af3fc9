#include "forward/CForwardThread.h"

#include "forward/Forwarder.h"
#include "platform/core/CWinThread.h"

// Runs the forwarder on a thread of its own, and says when it ended.
class CForwardThread::Worker : public CWinThread {
public:
    Worker(Forwarder& forwarder, std::string folder, std::shared_ptr<CEvent> ended)
        : m_forwarder(forwarder), m_folder(std::move(folder)), m_ended(std::move(ended)) {}

    BOOL InitInstance() override { return TRUE; }
    int Run() override {
        m_forwarder.Run(m_folder);
        m_ended->SetEvent();
        return ExitInstance();
    }

private:
    Forwarder& m_forwarder;
    std::string m_folder;
    // Shared, since the host may destroy its object while SetEvent is still returning.
    std::shared_ptr<CEvent> m_ended;
};

CForwardThread::CForwardThread() = default;

CForwardThread::~CForwardThread() { Stop(); }

bool CForwardThread::Start(const std::string& folder, const JournalFamily& family, const std::string& target,
                           const ForwardOptions& options) {
    if (IsRunning()) {
        m_startError = "the forwarding thread is running already";
        return false;
    }
    Stop();
    m_forwarder.reset();
    ForwardSettings settings;
    if (!ParseForwardTarget(target, settings.target, m_startError)) {
        m_startError = target + ": " + m_startError;
        return false;
    }
    settings.security = options.security;
    settings.msgId = options.msgId;
    settings.cursorFile = options.cursorFile;
    settings.follow = true;
    m_startError.clear();
    m_forwarder = std::make_unique<Forwarder>(family, std::move(settings));
    m_ended = std::make_shared<CEvent>(FALSE);
    m_worker = new Worker(*m_forwarder, folder, m_ended);
    if (!m_worker->CreateThread()) {
        delete m_worker;
        m_worker = nullptr;
        m_forwarder.reset();
        m_startError = "the system refused a new thread";
        return false;
    }
    return true;
}

void CForwardThread::Stop() {
    if (m_worker == nullptr) return;
    m_forwarder->Stop();
    m_ended->Lock();
    m_worker = nullptr;  // deleted itself when its thread ended
}

bool CForwardThread::IsRunning() const { return m_worker != nullptr && !m_ended->Lock(0); }

std::string CForwardThread::LastError() const { return m_forwarder ? m_forwarder->LastError() : m_startError; }

std::uint64_t CForwardThread::Sent() const { return m_forwarder ? m_forwarder->Sent() : 0; }

std::uint64_t CForwardThread::Waiting() const { return m_forwarder ? m_forwarder->Waiting() : 0; }
