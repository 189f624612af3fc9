#include "mail/CSmtpSession.h"

#include <cstring>
#include <new>
#include <string>

#include <openssl/crypto.h>

#include "mail/CBase64Codec.h"
#include "mail/MailText.h"
#include "mail/SmtpDataWriter.h"
#include "module/FixedText.h"
#include "platform/core/HostName.h"

namespace {

// The reply's lines on one line, safe to show, for an error's reason.
CString OneLine(const std::string& reply) {
    std::string line = reply;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    for (char& c : line)
        if (c == '\n') c = ' ';
    return PrintableText(line);
}

// The command's verb ("MAIL", "RCPT", "AUTH"), for "the reply to ...".
CString VerbOf(const CString& command) {
    const std::string& s = command.str();
    return CString(s.substr(0, s.find_first_of(" \r\n")));
}

void Wipe(std::string& secret) {
    OPENSSL_cleanse(secret.data(), secret.size());
    secret.clear();
}

}  // namespace

CString ErrorWithReason(const CString& error, const CString& reason) {
    if (reason.IsEmpty()) return error;
    // "Server didn't respond." ends a sentence; the others are labels.
    return error.str().ends_with('.') ? error + " (" + reason + ")" : error + ": " + reason;
}

CSmtpSession::CSmtpSession(const char* host, UINT port) : m_port(port), m_host(host) {}

CSmtpSession::~CSmtpSession() {
    EndSession();
    WipeCredentials();
}

void CSmtpSession::SetServer(const char* host, UINT port) {
    if (!host) return;
    m_host = host;
    m_port = port;
}

void CSmtpSession::SetCredentials(const char* user, const char* password) {
    if (!user || !password) return;
    StoreFixedText(m_user, user);
    StoreFixedText(m_password, password);
}

void CSmtpSession::WipeCredentials() {
    OPENSSL_cleanse(m_user, sizeof m_user);
    OPENSSL_cleanse(m_password, sizeof m_password);
}

void CSmtpSession::SetError(const char* text, const CString& reason) {
    m_lastError = text;
    m_lastErrorReason = reason;
}

void CSmtpSession::Send(const CString& text) {
    m_command = VerbOf(text);
    if (m_observer) m_observer(true, std::string_view(text.str()).substr(0, text.str().find("\r\n")));
    // A failed send shows as a failed reply check.
    m_connection.Send(text.c_str(), text.GetLength());
}

void CSmtpSession::SendSecret(std::string& text, const char* shown) {
    if (m_observer) m_observer(true, shown);
    m_connection.Send(text.data(), static_cast<int>(text.size()));
    Wipe(text);
}

BOOL CSmtpSession::CheckReply(SmtpReplyRow row, int timeoutMs) {
    SmtpReplyReader::Reply reply = m_reader->Read(timeoutMs);
    m_lastReply = CString(reply.text);
    m_replyStatus = reply.status;
    if (m_observer && !reply.text.empty()) m_observer(false, PrintableText(reply.text).str());
    const CString waitingFor = row == REPLY_GREETING && m_command.IsEmpty() ? CString("the greeting")
                                                                            : "the reply to " + m_command;
    if (reply.status == SmtpReplyReader::Status::socketError) {
        m_replyProblem = m_socket.GetLastError() == ETIMEDOUT ? "timed out waiting for " + waitingFor
                                                              : m_connection.LastErrorText() + " waiting for " + waitingFor;
        SetError("Socket Error", m_replyProblem);
        return 0;
    }
    // A closed connection or a malformed reply has no code: it counts as a mismatch.
    if (reply.status == SmtpReplyReader::Status::complete && reply.code == kSmtpReplies[row].code) return 1;
    if (reply.status == SmtpReplyReader::Status::closed)
        m_replyProblem = "the server closed the connection before " + waitingFor;
    else if (reply.status == SmtpReplyReader::Status::malformed)
        m_replyProblem = "not an SMTP reply: " + OneLine(reply.text);
    else
        m_replyProblem = OneLine(reply.text);
    CString text;
    text.Format("%d:%s", reply.code, kSmtpReplies[row].message);
    SetError(text.c_str(), m_replyProblem);
    return 0;
}

void CSmtpSession::CloseConnection() {
    m_connection.EndTls();
    m_socket.Close();
    m_reader.reset();
}

CString CSmtpSession::HeloName() const {
    const CString host = GetLocalHostName();
    return IsPlainHostName(host) ? host : m_socket.GetLocalAddressLiteral();
}

BOOL CSmtpSession::OpenSession() {
    if (m_connected) return 1;
    m_command.Empty();
    m_capabilities = {};
    m_authProblem.Empty();
    m_authUnanswered = false;
    try {
        m_reader = std::make_unique<SmtpReplyReader>(m_connection);
    } catch (const std::bad_alloc&) {
        SetError("Not enough memory", {});
        m_openFailure = m_lastError;
        return 0;
    }
    if (!m_socket.Create()) {
        SetError("Unable to create the socket.", m_socket.GetLastErrorText());
        m_openFailure = ErrorWithReason(m_lastError, m_lastErrorReason);
        m_reader.reset();
        return 0;
    }
    m_socket.SetConnectTimeout(m_timeouts.connect);
    m_socket.SetSendTimeout(m_timeouts.command);
    if (!m_socket.Connect(m_host, m_port)) {
        CString where;
        where.Format("%s port %u: ", m_host.c_str(), m_port);
        SetError("Unable to connect to server", where + m_socket.GetLastErrorText());
    } else if (Greet()) {
        m_connected = 1;
        m_openFailure.Empty();
        return 1;
    }
    m_openFailure = ErrorWithReason(m_lastError, m_lastErrorReason);
    CloseConnection();
    return 0;
}

bool CSmtpSession::Greet() {
    if (m_security.mode == SmtpTlsMode::Implicit && !BeginTls("Unable to connect to server", true)) return false;
    if (!CheckReply(REPLY_GREETING, m_timeouts.greeting)) {
        SetError("Server didn't respond.", m_replyProblem);
        return false;
    }
    const bool credentials = std::strlen(m_user) > smtp::kShortCredential &&
                             std::strlen(m_password) > smtp::kShortCredential;
    if (!Hello(credentials || WantsExtendedHello())) return false;
    if (!NegotiateTls()) return false;
    if (!*m_user && !*m_password) return true;  // nothing to log in with
    m_authProblem = AuthenticationRefusal();
    return !m_authProblem.IsEmpty() || Authenticate();
}

bool CSmtpSession::WantsExtendedHello() const {
    return m_security.mode == SmtpTlsMode::WhenOffered || m_security.mode == SmtpTlsMode::Required ||
           m_security.mode == SmtpTlsMode::Implicit;
}

bool CSmtpSession::Hello(bool extended) {
    CString hello;
    hello.Format(extended ? "EHLO %s\r\n" : "HELO %s\r\n", HeloName().c_str());
    Send(hello);
    if (!CheckReply(REPLY_ACCEPTED, m_timeouts.command)) return false;
    if (extended) m_capabilities = SmtpCapabilities::Parse(m_lastReply.str());
    return true;
}

bool CSmtpSession::NegotiateTls() {
    const SmtpTlsMode mode = m_security.mode;
    if (mode == SmtpTlsMode::Off || IsEncrypted()) return true;
    if (!m_capabilities.startTls) {
        if (mode != SmtpTlsMode::Required) return true;
        SetError("Unable to start TLS", "the server does not offer STARTTLS");
        return false;
    }
    Send("STARTTLS\r\n");
    if (!CheckReply(REPLY_GREETING, m_timeouts.command)) {
        // A server that offers STARTTLS and then refuses it takes the mail in plain text, as it
        // would have without the offer.
        return mode == SmtpTlsMode::Opportunistic && m_replyStatus == SmtpReplyReader::Status::complete;
    }
    // Bytes that came with the reply were sent before TLS and must not be read as if after it.
    if (m_reader->HasPending()) {
        SetError("Unable to start TLS", "the server sent more after its STARTTLS reply");
        return false;
    }
    if (!BeginTls("Unable to start TLS", mode != SmtpTlsMode::Opportunistic)) return false;
    // RFC 3207 4.2: what the server offered before TLS is forgotten and asked again.
    return Hello(true);
}

bool CSmtpSession::BeginTls(const char* failure, bool mustVerify) {
    CString reason;
    if (m_connection.StartTls(m_host, m_security.caFile, mustVerify, reason)) return true;
    SetError(failure, "TLS with " + m_host + " failed: " + reason);
    return false;
}

CString CSmtpSession::AuthenticationRefusal() const {
    if (std::strlen(m_user) <= smtp::kShortCredential || std::strlen(m_password) <= smtp::kShortCredential)
        return "the user or the password has 3 characters or fewer";
    if (m_host == "127.0.0.1") return "the server is 127.0.0.1, where the session never logs in";
    const bool plainAllowed = m_security.mode == SmtpTlsMode::Opportunistic || m_security.mode == SmtpTlsMode::Off ||
                              m_security.plainAuthAllowed;
    if (!IsEncrypted() && !plainAllowed) return "the connection is not encrypted, and credentials go only over TLS";
    return {};
}

bool CSmtpSession::Authenticate() {
    // LOGIN as always, unless the server names PLAIN and not LOGIN.
    return m_capabilities.authPlain && !m_capabilities.authLogin ? AuthenticatePlain() : AuthenticateLogin();
}

bool CSmtpSession::AuthStep(SmtpReplyRow row) {
    if (CheckReply(row, m_timeouts.command)) return true;
    if (m_replyStatus == SmtpReplyReader::Status::socketError) {
        // Carrying on would send MAIL into a dialogue that has lost its step.
        m_authUnanswered = true;
        SetError("Socket Error", "authentication failed: " +
                                     (m_socket.GetLastError() == ETIMEDOUT ? CString("no reply") : m_replyProblem));
        m_authProblem = m_lastErrorReason;
    } else if (m_authProblem.IsEmpty()) {
        m_authProblem = "the server refused " + m_command + ": " + m_replyProblem;
    }
    return false;
}

bool CSmtpSession::AuthenticateLogin() {
    Send("AUTH LOGIN\r\n");
    // A server that refuses AUTH LOGIN gets the mail unauthenticated.
    if (!AuthStep(REPLY_AUTH_CHALLENGE)) return !m_authUnanswered;
    CBase64Codec codec;
    std::string line;
    codec.AppendEncoded(reinterpret_cast<const BYTE*>(m_user), std::strlen(m_user), line);
    line += "\r\n";
    SendSecret(line, "****");
    if (!AuthStep(REPLY_AUTH_CHALLENGE) && m_authUnanswered) return false;
    codec.AppendEncoded(reinterpret_cast<const BYTE*>(m_password), std::strlen(m_password), line);
    line += "\r\n";
    SendSecret(line, "****");
    AuthStep(REPLY_AUTH_OK);
    return !m_authUnanswered;
}

bool CSmtpSession::AuthenticatePlain() {
    // RFC 4616: authorisation identity (empty), user and password, each after a NUL.
    std::string message(1, '\0');
    message += m_user;
    message += '\0';
    message += m_password;
    std::string line = "AUTH PLAIN ";
    CBase64Codec codec;
    codec.AppendEncoded(reinterpret_cast<const BYTE*>(message.data()), message.size(), line);
    Wipe(message);
    line += "\r\n";
    m_command = "AUTH";
    SendSecret(line, "AUTH PLAIN ****");
    // As with LOGIN, a refusal leaves the session unauthenticated.
    AuthStep(REPLY_AUTH_OK);
    return !m_authUnanswered;
}

BOOL CSmtpSession::Deliver(COutgoingMail& mail) {
    if (!m_connected) {
        SetError("Must be connected", m_openFailure);
        return 0;
    }
    if (!CheckOrPrepare(mail)) return 0;
    return Transmit(mail) ? 1 : 0;
}

BOOL CSmtpSession::CheckOrPrepare(COutgoingMail& mail) {
    if (mail.RecipientCount(RecipientKind::To) == 0) {
        SetError("No Recipients", {});
        return 0;
    }
    CString bad = mail.HasSafeSender() ? CString() : mail.m_sender;
    for (int kind = 0; kind < kRecipientKinds; ++kind) {
        CString address, name;
        for (int i = 0; bad.IsEmpty() && mail.RecipientAt(i, address, name, static_cast<RecipientKind>(kind)); ++i)
            if (!IsSafeAddress(address)) bad = address;
    }
    if (!bad.IsEmpty()) {
        SetError("Invalid address", PrintableText(FoldLineBreaks(bad).str()));
        return 0;
    }
    mail.SetEightBitAllowed(m_capabilities.eightBitMime);
    // The body is composed while it is sent (Transmit), so that no attachment is held whole.
    mail.PrepareHeader();
    return 1;
}

BOOL CSmtpSession::Transmit(COutgoingMail& mail) {
    if (!m_connected) {
        SetError("Must be connected", m_openFailure);
        return 0;
    }
    m_refused.clear();
    CString command;
    command.Format("MAIL FROM: <%s>%s\r\n", mail.SenderAddress().c_str(), mail.UsesEightBit() ? " BODY=8BITMIME" : "");
    Send(command);
    if (!CheckReply(REPLY_ACCEPTED, m_timeouts.command)) return 0;
    for (int kind = 0; kind < kRecipientKinds; ++kind) {
        CString address, name;
        for (int i = 0; mail.RecipientAt(i, address, name, static_cast<RecipientKind>(kind)); ++i) {
            command.Format("RCPT TO: <%s>\r\n", address.c_str());
            Send(command);
            // A refused recipient does not stop the mail to the others.
            if (!CheckReply(REPLY_ACCEPTED, m_timeouts.command)) m_refused.push_back({address, m_replyProblem});
        }
    }
    Send("DATA\r\n");
    if (!CheckReply(REPLY_START_DATA, m_timeouts.dataStart)) return 0;
    m_socket.SetSendTimeout(m_timeouts.dataBlock);
    m_connection.Send(mail.HeaderText().c_str(), mail.HeaderText().GetLength());
    SmtpDataWriter data(m_connection);
    mail.WriteBody(data);
    data.Finish();
    if (m_observer) m_observer(true, ".");
    m_connection.Send("\r\n.\r\n", 5);
    m_socket.SetSendTimeout(m_timeouts.command);
    m_command = "the end of the data";
    return CheckReply(REPLY_ACCEPTED, m_timeouts.dataEnd);
}

BOOL CSmtpSession::EndSession() {
    WipeCredentials();
    if (!m_connected) return 1;
    Send("QUIT\r\n");
    const BOOL closed = CheckReply(REPLY_CLOSING, m_timeouts.command);
    CloseConnection();
    m_connected = 0;
    return closed;
}

void CSmtpSession::Abort() {
    m_socket.CancelBlockingCall();
    m_socket.Close();
}
