#pragma once
// The SMTP client: one connection to one server, greeting, TLS when the host's security settings
// call for it, optional AUTH LOGIN or PLAIN, one mail, QUIT. Each step sends one command and reads
// one complete reply, whose code is compared with the expected-reply table; a mismatch leaves an
// error text that LastError returns, one of the system's fixed texts ("552:SMTP server error",
// "Must be connected", ...), and the reason in LastErrorReason: the system's error, or the
// server's own reply, with its control characters shown as "?". The session is created, used and
// destroyed on one thread; Abort may be called from another. The password and its base64 forms
// are wiped when the session ends.
//
// Calling order: construct, SetCredentials, OpenSession, Deliver, LastError when Deliver gave 0,
// EndSession, destroy.
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "mail/COutgoingMail.h"
#include "mail/SmtpCapabilities.h"
#include "mail/SmtpConnection.h"
#include "mail/SmtpProtocol.h"
#include "mail/SmtpReplyReader.h"
#include "mail/SmtpSecurity.h"
#include "platform/core/CSocket.h"

// An error text with its reason, for a person: "Unable to connect to server: 127.0.0.1 port 25:
// Connection refused", "Server didn't respond. (timed out waiting for the greeting)".
CString ErrorWithReason(const CString& error, const CString& reason);

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
    // TLS mode, trusted certificates and whether credentials may go over plain text; see
    // SmtpSecurity.h. Takes effect at the next OpenSession.
    void SetSecurity(const SmtpSecurity& security) { m_security = security; }
    // Called with every line sent (`fromClient`) and every reply received, for a person to
    // follow the dialogue; credentials show as "****", and control characters of a reply as "?".
    // The mail's text is not shown.
    using DialogueObserver = std::function<void(bool fromClient, std::string_view text)>;
    void SetDialogueObserver(DialogueObserver observer) { m_observer = std::move(observer); }

    UINT GetPort() const { return m_port; }
    CString GetServer() const { return m_host; }
    // The last error text: "OK" until a step fails; it is never cleared.
    CString LastError() const { return m_lastError; }
    // Why the last error came about ("127.0.0.1 port 25: Connection refused", "552 too big", "timed
    // out waiting for the reply to MAIL"), or empty; set with the error text.
    CString LastErrorReason() const { return m_lastErrorReason; }
    // The recipients the server refused in the last Deliver, each with the reason; the mail still
    // goes to the others.
    struct Refusal {
        CString address;
        CString reason;
    };
    const std::vector<Refusal>& RefusedRecipients() const { return m_refused; }
    // Why the session, given credentials, did not log in, or empty when it did or had none ("the
    // server is 127.0.0.1", "the server refused AUTH LOGIN: 503 ...").
    CString AuthenticationProblem() const { return m_authProblem; }
    // True while the session runs over TLS.
    bool IsEncrypted() const { return m_connection.IsEncrypted(); }
    // Whether the server's certificate verified; see TlsProblem when it did not.
    bool IsVerified() const { return m_connection.IsVerified(); }
    CString TlsProblem() const { return m_connection.VerifyProblem(); }
    // What the server's last EHLO reply offered.
    const SmtpCapabilities& Capabilities() const { return m_capabilities; }

    // Connects, reads the greeting and sends HELO or EHLO, then AUTH LOGIN (PLAIN when the server
    // offers only that) when credentials of more than 3 characters are set and the server is not
    // "127.0.0.1". EHLO goes out when there are credentials or the security mode asks for it;
    // STARTTLS follows it as the security settings ask (SmtpSecurity.h). 1 when the session is
    // usable (also after refused authentication), 0 when it could not be opened; also when the
    // server did not answer the authentication in time ("Socket Error", with the reason
    // "authentication failed: no reply").
    BOOL OpenSession();
    // Sends `mail` (after preparing it): 1 when the server accepted it.
    BOOL Deliver(COutgoingMail& mail);
    // Sends QUIT and closes: the QUIT reply check's outcome, or 1 when not connected.
    BOOL EndSession();
    // Cancels a blocking call in progress and closes the connection.
    void Abort();

protected:
    // 0 with "No Recipients" when the To list is empty, or "Invalid address" when the sender or
    // an address could smuggle text into a command (see IsSafeAddress); else prepares the mail's
    // header, for 8 bits when the server takes them, and returns 1. Transmit composes the body
    // while it sends it.
    virtual BOOL CheckOrPrepare(COutgoingMail& mail);
    // MAIL FROM, RCPT TO for every recipient, DATA, the text and its end: 1 when accepted.
    virtual BOOL Transmit(COutgoingMail& mail);

    // Reads one complete reply, waiting at most `timeoutMs`: 1 when its code is the row's.
    BOOL CheckReply(SmtpReplyRow row, int timeoutMs);
    // Why the last failed CheckReply failed: "timed out waiting for the reply to MAIL", the
    // server's reply text, ...
    const CString& ReplyProblem() const { return m_replyProblem; }

private:
    void Send(const CString& text);
    // Sends `text`, then wipes it; `shown` is what the dialogue observer sees instead.
    void SendSecret(std::string& text, const char* shown);
    // The rest of OpenSession once connected: TLS, greeting, hello, STARTTLS, authentication.
    // false with the error text set.
    bool Greet();
    bool Hello(bool extended);
    // TLS on the connection; false with the error text `failure` and the reason.
    bool BeginTls(const char* failure, bool mustVerify);
    // false when the server did not answer a step: the session then ends.
    bool Authenticate();
    bool AuthenticateLogin();
    bool AuthenticatePlain();
    void WipeCredentials();
    // Sets the error text to `text`, and its reason.
    void SetError(const char* text, const CString& reason);
    // Whether the mode sends EHLO even without credentials.
    bool WantsExtendedHello() const;
    // Runs STARTTLS as the mode asks; false when the session must end.
    bool NegotiateTls();
    // Why credentials are not to be sent, or empty when they are.
    CString AuthenticationRefusal() const;
    // One step of the authentication: false when it failed, with `m_authProblem` saying why and
    // `m_authUnanswered` set when no reply came.
    bool AuthStep(SmtpReplyRow row);
    // Closes the connection and frees the reply reader.
    void CloseConnection();
    // The name sent with HELO/EHLO: the host name, or the local address literal when the host
    // name is missing or not a plain domain.
    CString HeloName() const;

    char m_user[smtp::kCredentialSize] = {};
    char m_password[smtp::kCredentialSize] = {};
    CString m_lastError = "OK";
    CString m_lastErrorReason;
    int m_connected = 0;
    UINT m_port;
    CString m_host;
    CSocket m_socket;
    SmtpConnection m_connection{m_socket};
    std::unique_ptr<SmtpReplyReader> m_reader;  // only while open
    SmtpTimeouts m_timeouts;
    SmtpSecurity m_security;
    SmtpCapabilities m_capabilities;
    DialogueObserver m_observer;
    CString m_command;        // the verb of the last command sent, for error texts
    CString m_lastReply;      // the last reply's text, lines ending in "\n"
    CString m_replyProblem;
    CString m_openFailure;    // why the last OpenSession failed, for "Must be connected"
    CString m_authProblem;
    bool m_authUnanswered = false;  // an authentication step got no reply: the session ends
    SmtpReplyReader::Status m_replyStatus = SmtpReplyReader::Status::complete;  // of the last CheckReply
    std::vector<Refusal> m_refused;
};
