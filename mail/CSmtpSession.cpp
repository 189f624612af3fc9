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

// The reply's lines on one line, for an error text.
CString OneLine(const std::string& reply) {
    std::string line = reply;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    for (char& c : line)
        if (c == '\n') c = ' ';
    return CString(line);
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
    if (reason.IsEmpty()) return;
    // "Server didn't respond." ends a sentence; the others are labels.
    m_lastError += m_lastError.str().back() == '.' ? " " : ": ";
    m_lastError += reason;
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
    if (m_observer && !reply.text.empty()) m_observer(false, reply.text);
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
    try {
        m_reader = std::make_unique<SmtpReplyReader>(m_connection);
    } catch (const std::bad_alloc&) {
        m_lastError = m_openFailure = "Not enough memory";
        return 0;
    }
    if (!m_socket.Create()) {
        m_lastError = m_openFailure = "Unable to create the socket.";
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
    m_openFailure = m_lastError;
    CloseConnection();
    return 0;
}

bool CSmtpSession::Greet() {
    if (m_security.mode == SmtpTlsMode::Implicit && !BeginTls("Unable to connect to server")) return false;
    if (!CheckReply(REPLY_GREETING, m_timeouts.greeting)) {
        SetError("Server didn't respond.", "(" + m_replyProblem + ")");
        return false;
    }
    const bool credentials = std::strlen(m_user) > smtp::kShortCredential &&
                             std::strlen(m_password) > smtp::kShortCredential;
    if (!Hello(credentials || m_security.mode == SmtpTlsMode::Required)) return false;
    const bool tlsWanted = m_security.mode == SmtpTlsMode::WhenOffered || m_security.mode == SmtpTlsMode::Required;
    if (tlsWanted && !IsEncrypted()) {
        if (m_capabilities.startTls) {
            if (!StartTlsCommand()) return false;
        } else if (m_security.mode == SmtpTlsMode::Required) {
            SetError("Unable to start TLS", "the server does not offer STARTTLS");
            return false;
        }
    }
    if (credentials && m_host != "127.0.0.1" && MayAuthenticate()) Authenticate();
    return true;
}

bool CSmtpSession::Hello(bool extended) {
    CString hello;
    hello.Format(extended ? "EHLO %s\r\n" : "HELO %s\r\n", HeloName().c_str());
    Send(hello);
    if (!CheckReply(REPLY_ACCEPTED, m_timeouts.command)) return false;
    if (extended) m_capabilities = SmtpCapabilities::Parse(m_lastReply.str());
    return true;
}

bool CSmtpSession::StartTlsCommand() {
    Send("STARTTLS\r\n");
    if (!CheckReply(REPLY_GREETING, m_timeouts.command)) return false;
    // Bytes that came with the reply were sent before TLS and must not be read as if after it.
    if (m_reader->HasPending()) {
        SetError("Unable to start TLS", "the server sent more after its STARTTLS reply");
        return false;
    }
    if (!BeginTls("Unable to start TLS")) return false;
    // RFC 3207 4.2: what the server offered before TLS is forgotten and asked again.
    return Hello(true);
}

bool CSmtpSession::BeginTls(const char* failure) {
    CString reason;
    if (m_connection.StartTls(m_host, m_security.caFile, reason)) return true;
    SetError(failure, "TLS with " + m_host + " failed: " + reason);
    return false;
}

bool CSmtpSession::MayAuthenticate() const {
    return IsEncrypted() || m_security.mode == SmtpTlsMode::Off || m_security.plainAuthAllowed;
}

void CSmtpSession::Authenticate() {
    // LOGIN as always, unless the server names PLAIN and not LOGIN.
    if (m_capabilities.authPlain && !m_capabilities.authLogin) AuthenticatePlain();
    else AuthenticateLogin();
}

void CSmtpSession::AuthenticateLogin() {
    Send("AUTH LOGIN\r\n");
    // A server that refuses AUTH LOGIN gets the mail unauthenticated.
    if (!CheckReply(REPLY_AUTH_CHALLENGE, m_timeouts.command)) return;
    CBase64Codec codec;
    std::string line;
    codec.AppendEncoded(reinterpret_cast<const BYTE*>(m_user), std::strlen(m_user), line);
    line += "\r\n";
    SendSecret(line, "****");
    CheckReply(REPLY_AUTH_CHALLENGE, m_timeouts.command);
    codec.AppendEncoded(reinterpret_cast<const BYTE*>(m_password), std::strlen(m_password), line);
    line += "\r\n";
    SendSecret(line, "****");
    CheckReply(REPLY_AUTH_OK, m_timeouts.command);
}

void CSmtpSession::AuthenticatePlain() {
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
    CheckReply(REPLY_AUTH_OK, m_timeouts.command);
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
        m_lastError = "No Recipients";
        return 0;
    }
    CString bad = IsSafeAddress(mail.m_sender) ? CString() : mail.m_sender;
    for (int kind = 0; kind < kRecipientKinds; ++kind) {
        CString address, name;
        for (int i = 0; bad.IsEmpty() && mail.RecipientAt(i, address, name, static_cast<RecipientKind>(kind)); ++i)
            if (!IsSafeAddress(address)) bad = address;
    }
    if (!bad.IsEmpty()) {
        SetError("Invalid address", FoldLineBreaks(bad));
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
    CString command;
    command.Format("MAIL FROM: <%s>%s\r\n", mail.m_sender.c_str(), mail.UsesEightBit() ? " BODY=8BITMIME" : "");
    Send(command);
    if (!CheckReply(REPLY_ACCEPTED, m_timeouts.command)) return 0;
    for (int kind = 0; kind < kRecipientKinds; ++kind) {
        CString address, name;
        for (int i = 0; mail.RecipientAt(i, address, name, static_cast<RecipientKind>(kind)); ++i) {
            command.Format("RCPT TO: <%s>\r\n", address.c_str());
            Send(command);
            CheckReply(REPLY_ACCEPTED, m_timeouts.command);  // a refused recipient does not stop the mail
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
