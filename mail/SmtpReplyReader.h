#pragma once
// Reads complete SMTP replies from a connected socket. A reply is one or more lines, each three
// digits then a hyphen (more lines follow) or a blank or nothing (the last line), all with the
// same code (RFC 5321 4.2.1). A reply may come in any number of pieces, and bytes after it are
// kept for the next reply.
#include <string>

#include "mail/SmtpProtocol.h"
#include "platform/core/CSocket.h"

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
        int code;  // 0 unless complete
    };

    // The socket must outlive the reader.
    explicit SmtpReplyReader(CSocket& socket) : m_socket(socket) {}

    // Reads the next reply, waiting at most `timeoutMs` (CSocket::kNoTimeout for no limit) for it
    // all.
    Reply Read(int timeoutMs);

private:
    // Checks one line (without its line end); continues with the next line when it is not the last.
    Reply CheckLine(const std::string& line, int firstCode, bool& last) const;

    CSocket& m_socket;
    std::string m_pending;  // received bytes not yet read as reply lines
    char m_buffer[smtp::kReceiveSize];
};
