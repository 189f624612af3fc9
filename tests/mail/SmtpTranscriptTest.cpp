// Transcripts of the SMTP session against a scripted server on loopback: each case is the
// server's script, the mail, and the client commands, results and error text expected.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "mail/CMultipartMail.h"
#include "mail/CSmtpSession.h"
#include "tests/mail/MailPeers.h"
#include "tests/mail/ScriptedSmtpServer.h"

namespace {

struct TranscriptCase {
    const char* name;
    std::vector<std::string> script;
    std::vector<std::string> commands;  // HELO and EHLO arguments shown as "*"
    const char* host = "127.0.0.1";
    const char* user = "";
    const char* password = "";
    const char* to = "ops@example.com";
    const char* cc = "";
    const char* body = "Camera 3 lost its signal.";
    BOOL opened = 1;
    const char* openError = "OK";
    BOOL delivered = 1;
    const char* error = "OK";  // after Deliver
    BOOL ended = 1;
    const char* dataHas = "";  // a text the data must hold
    bool plainAuth = false;    // credentials allowed without TLS
    SmtpTlsMode mode = SmtpTlsMode::Opportunistic;
    const char* refused = "";  // "address (reason)" of each refused recipient, "; " between
    const char* authProblem = "";
};

constexpr char kLoopbackNoLogin[] = "the server is 127.0.0.1, where the session never logs in";

const std::vector<std::string> kTail = {"<", "> 250 sender ok", "<", "> 250 recipient ok", "<", "> 354 go ahead",
                                        "<data", "> 250 queued", "<", "> 221 bye"};
const std::vector<std::string> kTailCommands = {"MAIL FROM: <alarm@dvr.example>", "RCPT TO: <ops@example.com>",
                                                "DATA", "<data>", "QUIT"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The greeting, HELO/EHLO and its reply, then `rest`.
std::vector<std::string> Script(const std::vector<std::string>& rest) {
    return Join({"> 220 dvr.example ESMTP", "<", "> 250 hello"}, rest);
}

const TranscriptCase kCases[] = {
    {.name = "HeloWithoutCredentials", .script = Script(kTail), .commands = Join({"HELO *"}, kTailCommands)},
    {.name = "EhloButNoAuthOnLoopbackAddress", .script = Script(kTail),
     .commands = Join({"EHLO *"}, kTailCommands), .user = "user1", .password = "secret1",
     .authProblem = kLoopbackNoLogin},
    {.name = "ThreeCharacterUserGivesHeloAndNoAuth", .script = Script(kTail),
     .commands = Join({"HELO *"}, kTailCommands), .host = "localhost", .user = "abc", .password = "secret1",
     .authProblem = "the user or the password has 3 characters or fewer"},
    // By default the session logs in over plain text when the server offers no TLS, as it always has.
    {.name = "AuthLoginOverPlainTextByDefault",
     .script = Script(Join({"<", "> 334 VXNlcm5hbWU6", "<", "> 334 UGFzc3dvcmQ6", "<", "> 235 welcome"}, kTail)),
     .commands = Join({"EHLO *", "AUTH LOGIN", "dXNlcjE=", "c2VjcmV0MQ=="}, kTailCommands), .host = "localhost",
     .user = "user1", .password = "secret1"},
    {.name = "NoCredentialsOverPlainTextWhenStrict", .script = Script(kTail),
     .commands = Join({"EHLO *"}, kTailCommands), .host = "localhost", .user = "user1", .password = "secret1",
     .mode = SmtpTlsMode::WhenOffered,
     .authProblem = "the connection is not encrypted, and credentials go only over TLS"},
    {.name = "StrictModeSaysEhloWithoutCredentials", .script = Script(kTail),
     .commands = Join({"EHLO *"}, kTailCommands), .mode = SmtpTlsMode::WhenOffered},
    {.name = "ShortPasswordSaysWhyNoLogin", .script = Script(kTail), .commands = Join({"HELO *"}, kTailCommands),
     .host = "localhost", .user = "user1", .password = "abc",
     .authProblem = "the user or the password has 3 characters or fewer"},
    // An AUTH that gets no reply ends the session instead of going on to MAIL.
    {.name = "UnansweredAuthGivesUp", .script = Script({"<"}), .commands = {"EHLO *", "AUTH LOGIN"},
     .host = "localhost", .user = "user1", .password = "secret1", .opened = 0,
     .openError = "Socket Error: authentication failed: no reply", .delivered = 0,
     .error = "Must be connected: Socket Error: authentication failed: no reply",
     .authProblem = "authentication failed: no reply"},
    {.name = "RefusedPasswordIsTold",
     .script = Script(Join({"<", "> 334 VXNlcm5hbWU6", "<", "> 334 UGFzc3dvcmQ6", "<", "> 535 bad credentials"},
                           kTail)),
     .commands = Join({"EHLO *", "AUTH LOGIN", "dXNlcjE=", "c2VjcmV0MQ=="}, kTailCommands), .host = "localhost",
     .user = "user1", .password = "secret1", .openError = "535:SMTP authrization success: 535 bad credentials",
     .error = "535:SMTP authrization success: 535 bad credentials",
     .authProblem = "the server refused AUTH: 535 bad credentials"},
    // A server that offers STARTTLS and then refuses it still gets the mail, as without the offer.
    {.name = "RefusedStartTlsGoesOnInPlainText",
     .script = Join({"> 220 dvr.example ESMTP", "<", "> 250-dvr.example\n250 STARTTLS", "<", "> 454 not now"},
                    kTail),
     .commands = Join({"EHLO *", "STARTTLS"}, kTailCommands), .user = "user1", .password = "secret1",
     .openError = "454:SMTP server not available: 454 not now", .error = "454:SMTP server not available: 454 not now",
     .authProblem = kLoopbackNoLogin},
    {.name = "AuthPlainWhenOnlyPlainIsOffered",
     .script = Join({"> 220 dvr.example ESMTP", "<", "> 250-dvr.example\n250 AUTH PLAIN", "<", "> 235 welcome"},
                    kTail),
     .commands = Join({"EHLO *", "AUTH PLAIN AHVzZXIxAHNlY3JldDE="}, kTailCommands), .host = "localhost",
     .user = "user1", .password = "secret1", .plainAuth = true},
    {.name = "AuthLoginWhenBothAreOffered",
     .script = Join({"> 220 dvr.example ESMTP", "<", "> 250-dvr.example\n250 AUTH PLAIN LOGIN", "<",
                     "> 334 VXNlcm5hbWU6", "<", "> 334 UGFzc3dvcmQ6", "<", "> 235 welcome"},
                    kTail),
     .commands = Join({"EHLO *", "AUTH LOGIN", "dXNlcjE=", "c2VjcmV0MQ=="}, kTailCommands), .host = "localhost",
     .user = "user1", .password = "secret1", .plainAuth = true},
    {.name = "EightBitTextWithEightBitMime",
     .script = Join({"> 220 dvr.example ESMTP", "<", "> 250-dvr.example\n250 8BITMIME"}, kTail),
     .commands = Join({"EHLO *", "MAIL FROM: <alarm@dvr.example> BODY=8BITMIME"},
                      std::vector<std::string>(kTailCommands.begin() + 1, kTailCommands.end())),
     .user = "user1", .password = "secret1", .body = "Kamera 3: Bewegung \xC3\xBC",
     .dataHas = "charset=UTF-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\nKamera 3: Bewegung \xC3\xBC",
     .authProblem = kLoopbackNoLogin},
    {.name = "EightBitTextQuotedWithoutEightBitMime", .script = Script(kTail),
     .commands = Join({"HELO *"}, kTailCommands), .body = "Bewegung \xC3\xBC",
     .dataHas = "charset=UTF-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\nBewegung =C3=BC"},
    {.name = "AuthRefusedSendsUnauthenticated", .script = Script(Join({"<", "> 503 no auth here"}, kTail)),
     .commands = Join({"EHLO *", "AUTH LOGIN"}, kTailCommands), .host = "localhost", .user = "user1",
     .password = "secret1", .openError = "503:SMTP can't authorize user ID: 503 no auth here",
     .error = "503:SMTP can't authorize user ID: 503 no auth here", .plainAuth = true,
     .authProblem = "the server refused AUTH: 503 no auth here"},
    {.name = "RefusedRecipientStillGetsData",
     .script = Script({"<", "> 250 sender ok", "<", "> 550 no such user", "<", "> 250 ok", "<", "> 354 go ahead",
                       "<data", "> 250 queued", "<", "> 221 bye"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>", "RCPT TO: <nobody@example.com>",
                  "RCPT TO: <ops@example.com>", "DATA", "<data>", "QUIT"},
     .to = "nobody@example.com; ops@example.com", .error = "550:SMTP server error: 550 no such user",
     .refused = "nobody@example.com (550 no such user)"},
    // What a server says reaches the reason with its control characters shown as "?".
    {.name = "ControlCharactersOfARefusal",
     .script = Script({"<", "> 250 sender ok", "<", "> 550 \x1b[2J\x1b]0;owned\x07gone \xC2\x9B" "1m", "<", "> 354 go ahead",
                       "<data", "> 250 queued", "<", "> 221 bye"}),
     .commands = Join({"HELO *"}, kTailCommands), .error = "550:SMTP server error: 550 ?[2J?]0;owned?gone ?1m",
     .refused = "ops@example.com (550 ?[2J?]0;owned?gone ?1m)"},
    {.name = "CcWithoutToSendsNothing", .script = Script({"<", "> 221 bye"}), .commands = {"HELO *", "QUIT"},
     .to = "", .cc = "ops@example.com", .delivered = 0, .error = "No Recipients"},
    {.name = "LoneDotLineIsStuffed", .script = Script(kTail), .commands = Join({"HELO *"}, kTailCommands),
     .body = ".\r\n", .dataHas = "7Bit\r\n\r\n..\r\n--ZM_"},
    {.name = "LeadingDotIsDoubled", .script = Script(kTail), .commands = Join({"HELO *"}, kTailCommands),
     .body = "first\r\n.hidden\r\n..two", .dataHas = "first\r\n..hidden\r\n...two\r\n"},
    {.name = "BareLineEndsBecomeCrLf", .script = Script(kTail),
     .commands = Join({"HELO *"}, kTailCommands), .body = "a\n.\nb\rc", .dataHas = "a\r\n..\r\nb\r\nc\r\n"},
    {.name = "Greeting554", .script = {"> 554 no service"}, .commands = {}, .opened = 0,
     .openError = "Server didn't respond. (554 no service)", .delivered = 0,
     .error = "Must be connected: Server didn't respond. (554 no service)"},
    {.name = "FinalReply552StillQuits",
     .script = Script({"<", "> 250 sender ok", "<", "> 250 ok", "<", "> 354 go ahead", "<data", "> 552 too big", "<",
                       "> 221 bye"}),
     .commands = Join({"HELO *"}, kTailCommands), .delivered = 0, .error = "552:SMTP server error: 552 too big"},
    {.name = "DataRefused", .script = Script({"<", "> 250 sender ok", "<", "> 250 ok", "<", "> 451 try later", "<",
                                              "> 221 bye"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>", "RCPT TO: <ops@example.com>", "DATA", "QUIT"},
     .delivered = 0, .error = "451:SMTP server not ready for data: 451 try later"},
    {.name = "ReplySplitOverSegments",
     .script = Script({"<", "> 2|5|0 sender| ok", "<", "> 250 ok", "<", "> 354 go", "<data", "> 250 queued", "<",
                       "> 221 bye"}),
     .commands = Join({"HELO *"}, kTailCommands)},
    {.name = "MultiLineEhloInPieces",
     .script = Join({"> 220 dvr.example ESMTP", "<",
                     "> 250-dvr.example greets you\n250-AU|TH LOGIN PLAIN\n250-SIZE 1000|0000\n250 HELP"},
                    kTail),
     .commands = Join({"EHLO *"}, kTailCommands), .user = "user1", .password = "secret1",
     .authProblem = kLoopbackNoLogin},
    {.name = "ConnectionClosedMidReply", .script = Script({"<", "> 250-first of two lines", "close"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>"}, .delivered = 0,
     .error = "0:SMTP server error: the server closed the connection before the reply to MAIL", .ended = 0},
    {.name = "MalformedReply", .script = Script({"<", "> hello there"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>", "QUIT"}, .delivered = 0,
     .error = "0:SMTP server error: not an SMTP reply: hello there", .ended = 0},
    {.name = "SilentServer", .script = {}, .commands = {}, .opened = 0,
     .openError = "Server didn't respond. (timed out waiting for the greeting)", .delivered = 0,
     .error = "Must be connected: Server didn't respond. (timed out waiting for the greeting)"},
    {.name = "SilentAfterData",
     .script = Script({"<", "> 250 sender ok", "<", "> 250 ok", "<", "> 354 go ahead", "<data"}),
     .commands = Join({"HELO *"}, kTailCommands), .delivered = 0,
     .error = "Socket Error: timed out waiting for the reply to the end of the data", .ended = 0},
    {.name = "QuitAnsweredWrongly",
     .script = Script(Join(std::vector<std::string>(kTail.begin(), kTail.end() - 1), {"> 250 still here"})),
     .commands = Join({"HELO *"}, kTailCommands), .ended = 0},
};

std::vector<std::string> WithoutHelloArgument(std::vector<std::string> commands) {
    for (std::string& c : commands)
        if (c.rfind("HELO ", 0) == 0 || c.rfind("EHLO ", 0) == 0) c = c.substr(0, 5) + "*";
    return commands;
}

// The session's error texts are the system's fixed ones; reasons go elsewhere.
bool IsFixedErrorText(const std::string& text) {
    static const std::set<std::string> fixed = {"OK", "Not enough memory", "Unable to create the socket.",
                                                "Unable to connect to server", "Server didn't respond.",
                                                "Socket Error", "Must be connected", "No Recipients"};
    if (fixed.count(text)) return true;
    for (const SMTP_REPLY& row : kSmtpReplies) {
        const std::string suffix = std::string(":") + row.message;
        const std::string code = text.size() > suffix.size() && text.ends_with(suffix) ? text.substr(0, text.size() - suffix.size()) : "";
        if (!code.empty() && code.find_first_not_of("0123456789") == std::string::npos) return true;
    }
    return false;
}

std::string Refusals(const CSmtpSession& session) {
    std::string all;
    for (const CSmtpSession::Refusal& r : session.RefusedRecipients())
        all += (all.empty() ? "" : "; ") + r.address.str() + " (" + r.reason.str() + ")";
    return all;
}

class SmtpTranscript : public testing::TestWithParam<TranscriptCase> {};

TEST_P(SmtpTranscript, Plays) {
    const TranscriptCase& c = GetParam();
    ScriptedSmtpServer server(c.script);
    CSmtpSession session(c.host, server.port());
    SmtpTimeouts quick;
    quick.connect = quick.greeting = quick.command = quick.dataStart = quick.dataBlock = quick.dataEnd = 1000;
    session.SetTimeouts(quick);
    session.SetCredentials(c.user, c.password);
    SmtpSecurity security;
    security.mode = c.mode;
    security.plainAuthAllowed = c.plainAuth;
    session.SetSecurity(security);

    EXPECT_EQ(session.OpenSession(), c.opened);
    EXPECT_TRUE(IsFixedErrorText(session.LastError().str())) << session.LastError().str();
    EXPECT_EQ(ErrorWithReason(session.LastError(), session.LastErrorReason()).str(), c.openError);
    CMultipartMail mail;
    mail.m_sender = "alarm@dvr.example";
    mail.m_subject = "Alarm";
    mail.m_body = c.body;
    mail.ParseRecipientList(c.to, RecipientKind::To);
    mail.ParseRecipientList(c.cc, RecipientKind::Cc);
    EXPECT_EQ(session.Deliver(mail), c.delivered);
    EXPECT_TRUE(IsFixedErrorText(session.LastError().str())) << session.LastError().str();
    EXPECT_EQ(ErrorWithReason(session.LastError(), session.LastErrorReason()).str(), c.error);
    EXPECT_EQ(Refusals(session), c.refused);
    EXPECT_EQ(session.AuthenticationProblem().str(), c.authProblem);
    EXPECT_EQ(session.EndSession(), c.ended);

    EXPECT_EQ(WithoutHelloArgument(server.Commands()), c.commands);
    EXPECT_NE(server.Data().find(c.dataHas), std::string::npos) << server.Data();
    EXPECT_FALSE(HasBareLineEnd(server.Data()));
}

INSTANTIATE_TEST_SUITE_P(Cases, SmtpTranscript, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TranscriptCase>& info) { return info.param.name; });

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST(SmtpSession, ConnectFailuresSayWhy) {
    const unsigned port = FreeLoopbackPort();
    const struct {
        const char* host;
        unsigned port;
        std::string reason;
    } cases[] = {
        {"127.0.0.1", port, "127.0.0.1 port " + std::to_string(port) + ": Connection refused"},
        {"no-such-host.invalid", 25, "no-such-host.invalid port 25: unknown host: "},
    };
    for (const auto& c : cases) {
        CSmtpSession session(c.host, c.port);
        EXPECT_EQ(session.OpenSession(), 0);
        EXPECT_EQ(session.LastError().str(), "Unable to connect to server");
        const std::string reason = session.LastErrorReason().str();
        EXPECT_TRUE(StartsWith(reason, c.reason)) << reason;
        CMultipartMail mail;
        EXPECT_EQ(session.Deliver(mail), 0);
        EXPECT_EQ(session.LastError().str(), "Must be connected");
        EXPECT_EQ(session.LastErrorReason().str(), "Unable to connect to server: " + reason);
    }
}

TEST(SmtpSession, AbortEndsABlockingCallFromAnotherThread) {
    ScriptedSmtpServer silent({});
    CSmtpSession session("127.0.0.1", silent.port());
    SmtpTimeouts none;
    none.connect = none.greeting = none.command = CSocket::kNoTimeout;
    session.SetTimeouts(none);
    std::thread aborter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        session.Abort();
    });
    EXPECT_EQ(session.OpenSession(), 0);
    // Usually the wait for the greeting is cut short; on a slow machine, the connection itself.
    const std::string error = session.LastError().str();
    EXPECT_TRUE(error == "Server didn't respond." || error == "Unable to connect to server") << error;
    aborter.join();
}

// Addresses that would end the angle brackets early and pass the rest as command parameters or
// a new command: nothing of the mail is sent.
TEST(SmtpSession, AddressesThatCouldSmuggleCommandsAreRefused) {
    const struct {
        const char* sender;
        const char* recipient;
    } cases[] = {
        {"alarm@dvr.example\r\nRCPT TO: <victim@example.com>", "ops@example.com"},
        {"alarm@dvr.example> BODY=8BITMIME", "ops@example.com"},
        {"alarm@dvr.example", "ops@example.com> NOTIFY=NEVER"},
        {"alarm@dvr.example", "ops@example.com\tX"},
        {"<alarm@dvr.example", "ops@example.com"},
        {"alarm@dvr.example", "ops@exam\x7Fple.com"},
    };
    for (const auto& c : cases) {
        ScriptedSmtpServer server(Script({"<", "> 221 bye"}));
        CSmtpSession session("127.0.0.1", server.port());
        ASSERT_EQ(session.OpenSession(), 1);
        CMultipartMail mail;
        mail.m_sender = c.sender;
        mail.AppendRecipient(c.recipient, "", RecipientKind::To);
        EXPECT_EQ(session.Deliver(mail), 0);
        EXPECT_EQ(session.LastError().str(), "Invalid address");
        EXPECT_FALSE(session.LastErrorReason().IsEmpty());
        session.EndSession();
        EXPECT_EQ(WithoutHelloArgument(server.Commands()), (std::vector<std::string>{"HELO *", "QUIT"}));
    }
}

}  // namespace
