#pragma once
// The SMTP client's fixed values: the expected-reply table, reply limits and time-outs.
#include <cstddef>
#include <iterator>

// Rows of the expected-reply table.
enum SmtpReplyRow : int {
    REPLY_ACCEPTED = 0,
    REPLY_GREETING = 1,
    REPLY_START_DATA = 2,
    REPLY_CLOSING = 3,
    REPLY_AUTH_CHALLENGE = 4,
    REPLY_AUTH_OK = 5,
};

struct SMTP_REPLY {
    int code;             // the expected reply code
    const char* message;  // the error text's message when another code arrives
};

inline constexpr SMTP_REPLY kSmtpReplies[] = {
    {250, "SMTP server error"},
    {220, "SMTP server not available"},
    {354, "SMTP server not ready for data"},
    {221, "SMTP server didn't terminate session"},
    {334, "SMTP can't authorize user ID"},
    {235, "SMTP authrization success"},
};
static_assert(std::size(kSmtpReplies) == REPLY_AUTH_OK + 1, "one row per reply");

namespace smtp {

constexpr unsigned kDefaultPort = 25;
// Bytes taken from the connection by one receive.
constexpr std::size_t kReceiveSize = 1024;
// A reply, all its lines together, may not be longer: a server that never ends its reply cannot
// make the client's memory grow without bound. Far above any real reply (an EHLO reply is a few
// hundred bytes, and RFC 5321 4.5.3.1.5 limits a reply line to 512).
constexpr std::size_t kMaxReplySize = 64 * 1024;
// Credentials are held in fields of 32 bytes.
constexpr std::size_t kCredentialSize = 32;
// Credentials of this many characters or fewer are not sent.
constexpr std::size_t kShortCredential = 3;

}  // namespace smtp

// How long the client waits, in milliseconds (RFC 5321 4.5.3.2). Each value bounds one whole
// reply, or for the data, each wait for the server to take more of it.
struct SmtpTimeouts {
    int connect = 2 * 60 * 1000;     // the RFC gives none; a TCP stack gives up at about this
    int greeting = 5 * 60 * 1000;    // initial 220
    int command = 5 * 60 * 1000;     // EHLO, AUTH, MAIL, RCPT, QUIT
    int dataStart = 2 * 60 * 1000;   // DATA's 354
    int dataBlock = 3 * 60 * 1000;   // each send of the mail text
    int dataEnd = 10 * 60 * 1000;    // the reply after the final "."
};
