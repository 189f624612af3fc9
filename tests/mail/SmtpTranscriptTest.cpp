// Transcripts of the SMTP session against a scripted server on loopback: each case is the
// server's script, the mail, and the client commands, results and error text expected.
#include <gtest/gtest.h>

#include <chrono>
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
};

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
     .commands = Join({"EHLO *"}, kTailCommands), .user = "user1", .password = "secret1"},
    {.name = "ThreeCharacterUserGivesHeloAndNoAuth", .script = Script(kTail),
     .commands = Join({"HELO *"}, kTailCommands), .host = "localhost", .user = "abc", .password = "secret1"},
    {.name = "AuthLogin",
     .script = Script(Join({"<", "> 334 VXNlcm5hbWU6", "<", "> 334 UGFzc3dvcmQ6", "<", "> 235 welcome"}, kTail)),
     .commands = Join({"EHLO *", "AUTH LOGIN", "dXNlcjE=", "c2VjcmV0MQ=="}, kTailCommands), .host = "localhost",
     .user = "user1", .password = "secret1"},
    {.name = "AuthRefusedSendsUnauthenticated", .script = Script(Join({"<", "> 503 no auth here"}, kTail)),
     .commands = Join({"EHLO *", "AUTH LOGIN"}, kTailCommands), .host = "localhost", .user = "user1",
     .password = "secret1", .openError = "503:SMTP can't authorize user ID",
     .error = "503:SMTP can't authorize user ID"},
    {.name = "RefusedRecipientStillGetsData",
     .script = Script({"<", "> 250 sender ok", "<", "> 550 no such user", "<", "> 250 ok", "<", "> 354 go ahead",
                       "<data", "> 250 queued", "<", "> 221 bye"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>", "RCPT TO: <nobody@example.com>",
                  "RCPT TO: <ops@example.com>", "DATA", "<data>", "QUIT"},
     .to = "nobody@example.com; ops@example.com", .error = "550:SMTP server error"},
    {.name = "CcWithoutToSendsNothing", .script = Script({"<", "> 221 bye"}), .commands = {"HELO *", "QUIT"},
     .to = "", .cc = "ops@example.com", .delivered = 0, .error = "No Recipients"},
    {.name = "LoneDotLineIsStuffed", .script = Script(kTail), .commands = Join({"HELO *"}, kTailCommands),
     .body = ".\r\n", .dataHas = "7Bit\r\n\r\n..\r\n--ZM_"},
    {.name = "LeadingDotIsDoubled", .script = Script(kTail), .commands = Join({"HELO *"}, kTailCommands),
     .body = "first\r\n.hidden\r\n..two", .dataHas = "first\r\n..hidden\r\n...two\r\n"},
    {.name = "BareLineEndsBecomeCrLf", .script = Script(kTail),
     .commands = Join({"HELO *"}, kTailCommands), .body = "a\n.\nb\rc", .dataHas = "a\r\n..\r\nb\r\nc\r\n"},
    {.name = "Greeting554", .script = {"> 554 no service"}, .commands = {}, .opened = 0,
     .openError = "Server didn't respond.", .delivered = 0, .error = "Must be connected"},
    {.name = "FinalReply552StillQuits",
     .script = Script({"<", "> 250 sender ok", "<", "> 250 ok", "<", "> 354 go ahead", "<data", "> 552 too big", "<",
                       "> 221 bye"}),
     .commands = Join({"HELO *"}, kTailCommands), .delivered = 0, .error = "552:SMTP server error"},
    {.name = "DataRefused", .script = Script({"<", "> 250 sender ok", "<", "> 250 ok", "<", "> 451 try later", "<",
                                              "> 221 bye"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>", "RCPT TO: <ops@example.com>", "DATA", "QUIT"},
     .delivered = 0, .error = "451:SMTP server not ready for data"},
    {.name = "ReplySplitOverSegments",
     .script = Script({"<", "> 2|5|0 sender| ok", "<", "> 250 ok", "<", "> 354 go", "<data", "> 250 queued", "<",
                       "> 221 bye"}),
     .commands = Join({"HELO *"}, kTailCommands)},
    {.name = "MultiLineEhloInPieces",
     .script = Join({"> 220 dvr.example ESMTP", "<",
                     "> 250-dvr.example greets you\n250-AU|TH LOGIN PLAIN\n250-SIZE 1000|0000\n250 HELP"},
                    kTail),
     .commands = Join({"EHLO *"}, kTailCommands), .user = "user1", .password = "secret1"},
    {.name = "ConnectionClosedMidReply", .script = Script({"<", "> 250-first of two lines", "close"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>"}, .delivered = 0, .error = "0:SMTP server error",
     .ended = 0},
    {.name = "MalformedReply", .script = Script({"<", "> hello there"}),
     .commands = {"HELO *", "MAIL FROM: <alarm@dvr.example>", "QUIT"}, .delivered = 0,
     .error = "0:SMTP server error", .ended = 0},
    {.name = "SilentServer", .script = {}, .commands = {}, .opened = 0, .openError = "Server didn't respond.",
     .delivered = 0, .error = "Must be connected"},
    {.name = "SilentAfterData",
     .script = Script({"<", "> 250 sender ok", "<", "> 250 ok", "<", "> 354 go ahead", "<data"}),
     .commands = Join({"HELO *"}, kTailCommands), .delivered = 0, .error = "Socket Error", .ended = 0},
    {.name = "QuitAnsweredWrongly",
     .script = Script(Join(std::vector<std::string>(kTail.begin(), kTail.end() - 1), {"> 250 still here"})),
     .commands = Join({"HELO *"}, kTailCommands), .ended = 0},
};

std::vector<std::string> WithoutHelloArgument(std::vector<std::string> commands) {
    for (std::string& c : commands)
        if (c.rfind("HELO ", 0) == 0 || c.rfind("EHLO ", 0) == 0) c = c.substr(0, 5) + "*";
    return commands;
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

    EXPECT_EQ(session.OpenSession(), c.opened);
    EXPECT_EQ(session.LastError().str(), c.openError);
    CMultipartMail mail;
    mail.m_sender = "alarm@dvr.example";
    mail.m_subject = "Alarm";
    mail.m_body = c.body;
    mail.ParseRecipientList(c.to, RecipientKind::To);
    mail.ParseRecipientList(c.cc, RecipientKind::Cc);
    EXPECT_EQ(session.Deliver(mail), c.delivered);
    EXPECT_EQ(session.LastError().str(), c.error);
    EXPECT_EQ(session.EndSession(), c.ended);

    EXPECT_EQ(WithoutHelloArgument(server.Commands()), c.commands);
    EXPECT_NE(server.Data().find(c.dataHas), std::string::npos) << server.Data();
    EXPECT_FALSE(HasBareLineEnd(server.Data()));
}

INSTANTIATE_TEST_SUITE_P(Cases, SmtpTranscript, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TranscriptCase>& info) { return info.param.name; });

TEST(SmtpSession, RefusedConnection) {
    CSmtpSession session("127.0.0.1", FreeLoopbackPort());
    EXPECT_EQ(session.OpenSession(), 0);
    EXPECT_EQ(session.LastError().str(), "Unable to connect to server");
}

TEST(SmtpSession, UnknownHost) {
    CSmtpSession session("no-such-host.invalid", 25);
    EXPECT_EQ(session.OpenSession(), 0);
    EXPECT_EQ(session.LastError().str(), "Unable to connect to server");
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

TEST(SmtpSession, AddressWithLineBreakIsRefused) {
    ScriptedSmtpServer server(Script({"<", "> 221 bye"}));
    CSmtpSession session("127.0.0.1", server.port());
    ASSERT_EQ(session.OpenSession(), 1);
    CMultipartMail mail;
    mail.m_sender = "alarm@dvr.example\r\nRCPT TO: <victim@example.com>";
    mail.AppendRecipient("ops@example.com", "", RecipientKind::To);
    EXPECT_EQ(session.Deliver(mail), 0);
    EXPECT_EQ(session.LastError().str(), "Invalid address");
    session.EndSession();
    EXPECT_EQ(WithoutHelloArgument(server.Commands()), (std::vector<std::string>{"HELO *", "QUIT"}));
}

}  // namespace
