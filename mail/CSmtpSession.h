#pragma once
// The SMTP client: one connection to one server, greeting, optional AUTH LOGIN, one mail, QUIT.
// Each step sends one command and reads one complete reply, whose code is compared with the
// expected-reply table; a mismatch leaves an error text that LastError returns. The session is
// created, used and destroyed on one thread; Abort may be called from another.
//
// Calling order: construct, SetCredentials, OpenSession, Deliver, LastError when Deliver gave 0,
// EndSession, destroy.
#include <memory>

#include "mail/COutgoingMail.h"
#include "mail/SmtpProtocol.h"
#include "mail/SmtpReplyReader.h"
#include "platform/core/CSocket.h"

class CSmtpSession {
public:
    CSmtpSession(const char* host, UINT port);
    CSmtpSession(const CSmtpSession&) = delete;
    CSmtpSession& operator=(const CSmtpSession&) = delete;
    // Ends the session (QUIT) when it is open.
    virtual ~CSmtpSession();

    // Replaces host and port; nothing when `host` is null.
    void SetServer(const char* host, UINT port);
    // Copies both, each cut to 31 characters; nothing unless both are non-null.
    void SetCredentials(const char* user, const char* password);
    // The waits of the following steps (by default RFC 5321's recommendations).
    void SetTimeouts(const SmtpTimeouts& timeouts) { m_timeouts = timeouts; }

    UINT GetPort() const { return m_port; }
    CString GetServer() const { return m_host; }
    // The last error text: "OK" until a step fails; it is never cleared.
    CString LastError() const { return m_lastError; }

    // Connects, reads the greeting and sends HELO or EHLO, then AUTH LOGIN when credentials of
    // more than 3 characters are set and the server is not "127.0.0.1". 1 when the session is
    // usable (also after failed authentication), 0 when it could not be opened.
    BOOL OpenSession();
    // Sends `mail` (after preparing it): 1 when the server accepted it.
    BOOL Deliver(COutgoingMail& mail);
    // Sends QUIT and closes: the QUIT reply check's outcome, or 1 when not connected.
    BOOL EndSession();
    // Cancels a blocking call in progress and closes the connection.
    void Abort();

protected:
    // 0 with "No Recipients" when the To list is empty, or "Invalid address" when the sender or
    // an address holds a line break; else prepares the mail and returns 1.
    virtual BOOL CheckOrPrepare(COutgoingMail& mail);
    // MAIL FROM, RCPT TO for every recipient, DATA, the text and its end: 1 when accepted.
    virtual BOOL Transmit(COutgoingMail& mail);

    // Reads one complete reply, waiting at most `timeoutMs`: 1 when its code is the row's.
    BOOL CheckReply(SmtpReplyRow row, int timeoutMs);
    // The mail's body, ready to follow DATA (see MailText.h).
    CString DotStuff(const COutgoingMail& mail) const;

private:
    void Send(const CString& text);
    void Authenticate();
    // Closes the connection and frees the reply reader.
    void CloseConnection();
    // The name sent with HELO/EHLO: the host name, or the local address literal when the host
    // name is missing or not a plain domain.
    CString HeloName() const;

    char m_user[smtp::kCredentialSize] = {};
    char m_password[smtp::kCredentialSize] = {};
    CString m_lastError = "OK";
    int m_connected = 0;
    UINT m_port;
    CString m_host;
    CSocket m_socket;
    std::unique_ptr<SmtpReplyReader> m_reader;  // only while open
    SmtpTimeouts m_timeouts;
};
