#include "forward/RelpTransport.h"

#include <sys/socket.h>

// librelp declares its functions without C linkage for C++.
extern "C" {
#include <librelp.h>
}

#include <algorithm>


namespace {

using Text = unsigned char*;

Text AsText(const std::string& text) { return reinterpret_cast<Text>(const_cast<char*>(text.c_str())); }

void OnError(void* user, char* /*object*/, char* message, relpRetVal /*code*/) {
    static_cast<RelpTransport*>(user)->Report(message);
}

const char* Describe(int code) {
    switch (code) {
        case RELP_RET_TIMED_OUT: return "no answer within the time-out";
        case RELP_RET_SESSION_BROKEN: return "the session broke";
        case RELP_RET_IO_ERR: return "the connection failed";
        case RELP_RET_ERR_TLS_SETUP: return "TLS could not be set up";
        case RELP_RET_ERR_TLS_HANDS: return "the TLS handshake failed";
        case RELP_RET_ERR_TLS: return "TLS failed";
        case RELP_RET_AUTH_ERR_NAME:
        case RELP_RET_AUTH_CERT_INVL:
        case RELP_RET_AUTH_NO_CERT: return "the server's certificate is not trusted";
        default: return "RELP failed";
    }
}

}  // namespace

RelpTransport::RelpTransport(ForwardTarget target, ForwardSecurity security)
    : m_target(std::move(target)), m_security(std::move(security)) {}

RelpTransport::~RelpTransport() { Close(); }

void RelpTransport::Report(const char* what) {
    if (what != nullptr) m_reported = what;
}

bool RelpTransport::Failed(const char* what, int code) {
    std::string text = m_target.host + " port " + std::to_string(m_target.port) + ": " + what + ": " + Describe(code);
    if (!m_reported.empty()) text += " (" + m_reported + ")";
    Close();
    return Fail(text);
}

bool RelpTransport::Configure() {
    const unsigned seconds = static_cast<unsigned>(std::max(1, (m_security.timeoutMs + 999) / 1000));
    if (relpCltSetTimeout(m_client, seconds) != RELP_RET_OK || relpCltSetConnTimeout(m_client, static_cast<int>(seconds)) != RELP_RET_OK ||
        relpCltSetWindowSize(m_client, kWindow) != RELP_RET_OK || relpCltSetUsrPtr(m_client, this) != RELP_RET_OK)
        return false;
    if (!m_security.relpTls) return true;
    const bool tls = relpCltEnableTLS(m_client) == RELP_RET_OK && relpCltSetAuthMode(m_client, const_cast<char*>("name")) == RELP_RET_OK &&
                     relpCltAddPermittedPeer(m_client, const_cast<char*>(m_target.host.c_str())) == RELP_RET_OK &&
                     (m_security.caFile.empty() || relpCltSetCACert(m_client, const_cast<char*>(m_security.caFile.c_str())) == RELP_RET_OK);
    if (!tls || m_security.certFile.empty()) return tls;
    return relpCltSetOwnCert(m_client, const_cast<char*>(m_security.certFile.c_str())) == RELP_RET_OK &&
           relpCltSetPrivKey(m_client, const_cast<char*>(m_security.keyFile.c_str())) == RELP_RET_OK;
}

bool RelpTransport::Connect() {
    Close();
    m_reported.clear();
    if (relpEngineConstruct(&m_engine) != RELP_RET_OK) return Fail("RELP: out of memory");
    relpEngineSetDbgprint(m_engine, nullptr);
    relpEngineSetOnErr(m_engine, OnError);
    relpEngineSetEnableCmd(m_engine, AsText("syslog"), eRelpCmdState_Required);
    if (m_security.relpTls) relpEngineSetTLSLibByName(m_engine, "openssl");
    int code = relpEngineCltConstruct(m_engine, &m_client);
    if (code != RELP_RET_OK) return Failed("cannot start a session", code);
    if (!Configure()) return Failed("cannot set the session up", RELP_RET_ERR_TLS_SETUP);
    code = relpCltConnect(m_client, AF_UNSPEC, AsText(std::to_string(m_target.port)), AsText(m_target.host));
    return code == RELP_RET_OK || Failed("cannot connect", code);
}

bool RelpTransport::Send(std::string_view message) {
    if (m_client == nullptr && !Connect()) return false;
    std::string copy(message);
    const int code = relpCltSendSyslog(m_client, AsText(copy), copy.size());
    if (code != RELP_RET_OK) return Failed("cannot send", code);
    m_unconfirmed = std::min<std::size_t>(m_unconfirmed + 1, kWindow);
    return true;
}

bool RelpTransport::Drain() {
    if (m_client == nullptr) return true;
    const int code = relpEngineCltDestruct(m_engine, &m_client);
    m_client = nullptr;
    if (code != RELP_RET_OK) return Failed("the session did not close", code);
    m_unconfirmed = 0;
    relpEngineDestruct(&m_engine);
    m_engine = nullptr;
    return true;
}

void RelpTransport::Close() {
    if (m_client != nullptr) relpEngineCltDestruct(m_engine, &m_client);
    if (m_engine != nullptr) relpEngineDestruct(&m_engine);
    m_client = nullptr;
    m_engine = nullptr;
    m_unconfirmed = 0;
}
