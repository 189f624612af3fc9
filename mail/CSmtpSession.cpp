#include "mail/CSmtpSession.h"

#include <cstring>
#include <new>

#include "mail/CBase64Codec.h"
#include "mail/MailText.h"
#include "module/FixedText.h"
#include "platform/core/HostName.h"

CSmtpSession::CSmtpSession(const char* host, UINT port) : m_port(port), m_host(host) {}

CSmtpSession::~CSmtpSession() { EndSession(); }

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

void CSmtpSession::Send(const CString& text) {
    // A failed send shows as a failed reply check.
    m_socket.Send(text.c_str(), text.GetLength());
}

BOOL CSmtpSession::CheckReply(SmtpReplyRow row, int timeoutMs) {
    const SmtpReplyReader::Reply reply = m_reader->Read(timeoutMs);
    if (reply.status == SmtpReplyReader::Status::socketError) {
        m_lastError = "Socket Error";
        return 0;
    }
    // A closed connection or a malformed reply has no code: it counts as a mismatch.
    if (reply.status == SmtpReplyReader::Status::complete && reply.code == kSmtpReplies[row].code) return 1;
    m_lastError.Format("%d:%s", reply.code, kSmtpReplies[row].message);
    return 0;
}

void CSmtpSession::CloseConnection() {
    m_socket.Close();
    m_reader.reset();
}

CString CSmtpSession::HeloName() const {
    const CString host = GetLocalHostName();
    return IsPlainHostName(host) ? host : m_socket.GetLocalAddressLiteral();
}

BOOL CSmtpSession::OpenSession() {
    if (m_connected) return 1;
    try {
        m_reader = std::make_unique<SmtpReplyReader>(m_socket);
    } catch (const std::bad_alloc&) {
        m_lastError = "Not enough memory";
        return 0;
    }
    if (!m_socket.Create()) {
        m_lastError = "Unable to create the socket.";
        m_reader.reset();
        return 0;
    }
    m_socket.SetConnectTimeout(m_timeouts.connect);
    m_socket.SetSendTimeout(m_timeouts.command);
    if (!m_socket.Connect(m_host, m_port)) {
        m_lastError = "Unable to connect to server";
        CloseConnection();
        return 0;
    }
    if (!CheckReply(REPLY_GREETING, m_timeouts.greeting)) {
        m_lastError = "Server didn't respond.";
        CloseConnection();
        return 0;
    }
    const bool credentials = std::strlen(m_user) > smtp::kShortCredential &&
                             std::strlen(m_password) > smtp::kShortCredential;
    CString hello;
    hello.Format(credentials ? "EHLO %s\r\n" : "HELO %s\r\n", HeloName().c_str());
    Send(hello);
    if (!CheckReply(REPLY_ACCEPTED, m_timeouts.command)) {
        CloseConnection();
        return 0;
    }
    if (credentials && m_host != "127.0.0.1") Authenticate();
    m_connected = 1;
    return 1;
}

void CSmtpSession::Authenticate() {
    Send("AUTH LOGIN\r\n");
    // A server that refuses AUTH LOGIN gets the mail unauthenticated.
    if (!CheckReply(REPLY_AUTH_CHALLENGE, m_timeouts.command)) return;
    CBase64Codec codec;
    Send(codec.Encode(reinterpret_cast<const BYTE*>(m_user), static_cast<int>(std::strlen(m_user))) + "\r\n");
    CheckReply(REPLY_AUTH_CHALLENGE, m_timeouts.command);
    Send(codec.Encode(reinterpret_cast<const BYTE*>(m_password), static_cast<int>(std::strlen(m_password))) +
         "\r\n");
    CheckReply(REPLY_AUTH_OK, m_timeouts.command);
}

BOOL CSmtpSession::Deliver(COutgoingMail& mail) {
    if (!m_connected) {
        m_lastError = "Must be connected";
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
    bool lineBreak = HasLineBreak(mail.m_sender);
    for (int kind = 0; kind < kRecipientKinds; ++kind) {
        CString address, name;
        for (int i = 0; mail.RecipientAt(i, address, name, static_cast<RecipientKind>(kind)); ++i)
            lineBreak = lineBreak || HasLineBreak(address);
    }
    if (lineBreak) {
        m_lastError = "Invalid address";
        return 0;
    }
    mail.Prepare();
    return 1;
}

BOOL CSmtpSession::Transmit(COutgoingMail& mail) {
    if (!m_connected) {
        m_lastError = "Must be connected";
        return 0;
    }
    CString command;
    command.Format("MAIL FROM: <%s>\r\n", mail.m_sender.c_str());
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
    Send(mail.HeaderText());
    Send(DotStuff(mail));
    Send("\r\n.\r\n");
    m_socket.SetSendTimeout(m_timeouts.command);
    return CheckReply(REPLY_ACCEPTED, m_timeouts.dataEnd);
}

CString CSmtpSession::DotStuff(const COutgoingMail& mail) const { return CString(DotStuffData(mail.m_body.str())); }

BOOL CSmtpSession::EndSession() {
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
