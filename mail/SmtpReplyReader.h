#pragma once
// Reads complete SMTP replies from a connected socket. A reply is one or more lines, each three
// digits then a hyphen (more lines follow) or a blank or nothing (the last line), all with the
// same code (RFC 5321 4.2.1). A reply may come in any number of pieces, and bytes after it are
// kept for the next reply.
#include <string>

#include "mail/SmtpProtocol.h"
#include "mail/SmtpConnection.h"

class SmtpReplyReader {
public:
    enum class Status {
        complete,     // a well-formed reply; `code` holds its code
        malformed,    // a line that is not a reply line, codes that differ, or a reply too long
        closed,       // the server closed the connection before the reply was complete
        socketError,  // a receive failed or timed out
    };
    struct Reply {
        Status status;
        int code;          // 0 unless complete
        std::string text;  // the reply's lines as received, each ending in "\n", CR removed
    };

    // The connection must outlive the reader.
    explicit SmtpReplyReader(SmtpConnection& connection) : m_connection(connection) {}

    // Reads the next reply, waiting at most `timeoutMs` (CSocket::kNoTimeout for no limit) for it
    // all.
    Reply Read(int timeoutMs);
    // True when received bytes wait beyond the last reply: a server that sends them after its
    // STARTTLS reply is trying to have them read as if they came through TLS.
    bool HasPending() const { return !m_pending.empty(); }

private:
    // Checks one line (without its line end); continues with the next line when it is not the last.
    Reply CheckLine(const std::string& line, int firstCode, bool& last) const;

    SmtpConnection& m_connection;
    std::string m_pending;  // received bytes not yet read as reply lines
    char m_buffer[smtp::kReceiveSize];
};
