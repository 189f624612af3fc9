// dvrkit mail compose and send, run as a user runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "tests/mail/MailPeers.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out;  // stdout and stderr together
};

// Runs the tool with its temporary folder (where a failed send writes its trace) in `tmp`.
ToolRun Dvrkit(const std::string& arguments, const TempDir& tmp = TempDir()) {
    const std::string command = "TMPDIR='" + tmp.path() + "' " + DVRKIT_TOOL + " " + arguments + " 2>&1";
    const CommandResult result = RunCommand(command);
    return ToolRun{result.status, result.output};
}

const std::string kHeader = "--from alarm@dvr.example --to 'Bob <bob@example.com>; ops@example.com' "
                            "--subject 'Camera 3'";
const std::string kMail = kHeader + " --body 'Motion detected.'";

TEST(MailCli, ComposePrintsTheMail) {
    TempDir dir;
    WriteBytes(dir.file("cam1.jpg"), {1, 2, 3, 4});
    const ToolRun run = Dvrkit("mail compose " + kMail + " --attach " + dir.file("cam1.jpg"));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    WriteBytes(dir.file("mail.eml"), std::vector<uint8_t>(run.out.begin(), run.out.end()));
    const nlohmann::json mail = PythonParseMail(dir.file("mail.eml"));
    ASSERT_EQ(mail["parts"].size(), 2u);
    EXPECT_EQ(mail["parts"][1]["filename"], "cam1.jpg");
    EXPECT_EQ(mail["parts"][1]["data"], "AQIDBA==");
}

TEST(MailCli, SendDelivers) {
    LocalSmtpServer server(true);
    TempDir dir;
    WriteBytes(dir.file("password"), {'s', 'e', 'c', 'r', 'e', 't', '1', '\n'});
    const ToolRun run = Dvrkit("mail send --server localhost --port " + std::to_string(server.port()) + " " + kMail +
                           " --user user1 --password-file " + dir.file("password") + " --tls off");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_FALSE(server.WaitForMail(1).empty());
    EXPECT_EQ(server.Auth()["password"], "secret1");
}

TEST(MailCli, FailuresExitWithTheirText) {
    TempDir tmp;
    WriteBytes(tmp.file("EMailSender.txt"), {'o', 'l', 'd', ';'});  // an earlier run's, emptied
    const ToolRun refused =
        Dvrkit("mail send --server 127.0.0.1 --port " + std::to_string(FreeLoopbackPort()) + " " + kMail, tmp);
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.out.find("Must be connected: Unable to connect to server: 127.0.0.1 port "), std::string::npos)
        << refused.out;
    const auto trace = ReadBytes(tmp.file("EMailSender.txt"));
    EXPECT_EQ(std::string(trace.begin(), trace.end()), "Must be connected");

    const ToolRun badList = Dvrkit("mail compose --from a@example.com --to 'Bob <bob@example.com' --subject s --body b");
    EXPECT_NE(badList.exitCode, 0);
    EXPECT_NE(badList.out.find("recipient list"), std::string::npos) << badList.out;

    const ToolRun noBody = Dvrkit("mail compose --from a@example.com --to b@example.com --subject s");
    EXPECT_NE(noBody.exitCode, 0);
    EXPECT_NE(noBody.out.find("--body"), std::string::npos) << noBody.out;

    const ToolRun noServer = Dvrkit("mail send " + kMail);
    EXPECT_NE(noServer.exitCode, 0);
}

TEST(MailCli, RefusesWhatItCannotSendWhole) {
    TempDir dir;
    const std::string folder = dir.path();
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"--body-file " + dir.file("missing"), "missing: No such file or directory"},
        {"--body x --attach " + folder, folder + ": is a folder"},
        {"--body x --attach " + dir.file("missing.jpg"), "missing.jpg: No such file or directory"},
        {"--body x --cc 'a@b.c> BODY=8BITMIME'", "Invalid address: a@b.c> BODY=8BITMIME"},
        {"--body x --bcc 'x@y.z> NOTIFY=NEVER'", "Invalid address: x@y.z> NOTIFY=NEVER"},
        {"--body x --tls sometimes", "--tls"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Dvrkit("mail compose " + kHeader + " " + c.arguments);
        EXPECT_NE(run.exitCode, 0) << c.arguments;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
    }
}

TEST(MailCli, BodyFromAPipe) {
    TempDir dir;
    for (const char* source : {"-", "/dev/stdin"}) {
        const CommandResult result =
            RunCommand(std::string("printf 'Motion\\nin hall 2' | ") + DVRKIT_TOOL +
                       " mail compose --from a@example.com --to b@example.com --subject s --body-file " + source);
        ASSERT_EQ(result.status, 0) << result.output;
        WriteBytes(dir.file("mail.eml"), std::vector<uint8_t>(result.output.begin(), result.output.end()));
        const nlohmann::json mail = PythonParseMail(dir.file("mail.eml"));
        ASSERT_EQ(mail["parts"].size(), 1u) << source;
        EXPECT_EQ(mail["parts"][0]["data"], "TW90aW9uCmluIGhhbGwgMg==") << source;  // "Motion\nin hall 2"
    }
}

TEST(MailCli, CopiesAndSeveralAttachments) {
    LocalSmtpServer server(false);
    TempDir dir;
    WriteBytes(dir.file("cam1.jpg"), {1, 2, 3, 4});
    WriteBytes(dir.file("cam2.jpg"), {5, 6});
    const ToolRun run = Dvrkit("mail send --server 127.0.0.1 --port " + std::to_string(server.port()) + " " + kMail +
                               " --cc 'Carol <carol@example.com>' --bcc dave@example.com --attach " +
                               dir.file("cam1.jpg") + " --attach " + dir.file("cam2.jpg"));
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const std::string path = server.WaitForMail(1);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(server.Envelope(1)["to"],
              (nlohmann::json{"bob@example.com", "ops@example.com", "carol@example.com", "dave@example.com"}));
    const nlohmann::json mail = PythonParseMail(path);
    EXPECT_EQ(mail["decoded"]["Cc"], "Carol <carol@example.com>");
    EXPECT_FALSE(mail["decoded"].contains("Bcc"));
    ASSERT_EQ(mail["parts"].size(), 3u);
    EXPECT_EQ(mail["parts"][1]["data"], "AQIDBA==");
    EXPECT_EQ(mail["parts"][2]["data"], "BQY=");
}

// STARTTLS with a given CA file, the dialogue shown with the credentials masked; then the same
// server's certificate against another CA, refused with the reason.
TEST(MailCli, StartTlsVerboseAndUntrusted) {
    TestCertificates certificates;
    LocalSmtpServer server(SmtpServerOptions{.auth = true, .tls = ServerTls::StartTlsRequired,
                                             .certificates = &certificates});
    TempDir dir;
    WriteBytes(dir.file("password"), {'s', 'e', 'c', 'r', 'e', 't', '1', '\n'});
    const std::string send = "mail send --server localhost --port " + std::to_string(server.port()) + " " + kMail +
                             " --user user1 --password-file " + dir.file("password") + " --ca-file ";
    const ToolRun run = Dvrkit(send + certificates.ca() + " --verbose");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_FALSE(server.WaitForMail(1).empty());
    EXPECT_EQ(server.Auth()["password"], "secret1");
    EXPECT_NE(run.out.find("C: STARTTLS\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("C: AUTH LOGIN\nS: 334 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("C: ****\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("secret1"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("c2VjcmV0MQ"), std::string::npos) << run.out;  // base64 of the password

    const ToolRun untrusted = Dvrkit(send + certificates.otherCa());
    EXPECT_EQ(untrusted.exitCode, 1);
    EXPECT_NE(untrusted.out.find("Unable to start TLS: TLS with localhost failed: certificate verify failed"),
              std::string::npos)
        << untrusted.out;
}

// A recipient the server refuses fails the command, naming the address and the reply (its
// control characters made harmless); the others still get the mail. The list may use ','.
TEST(MailCli, RefusedRecipientIsAnError) {
    ScriptedSmtpServer server({"> 220 dvr.example ESMTP", "<", "> 250 hello", "<", "> 250 sender ok", "<",
                               "> 550 no such user \x1b[2J", "<", "> 250 ok", "<", "> 354 go ahead", "<data",
                               "> 250 queued", "<", "> 221 bye"});
    const ToolRun run = Dvrkit("mail send --server 127.0.0.1 --port " + std::to_string(server.port()) +
                               " --from alarm@dvr.example --to 'nobody@example.com, Ops <ops@example.com>'"
                               " --subject s --body b");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("nobody@example.com (550 no such user ?[2J)"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    const std::vector<std::string> commands = server.Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "RCPT TO: <ops@example.com>"), commands.end());
    EXPECT_NE(std::find(commands.begin(), commands.end(), "<data>"), commands.end());
}

// --tls auto greets with EHLO, so that STARTTLS can be offered; credentials the session will not
// send are named with the reason.
TEST(MailCli, SaysWhyItDoesNotLogIn) {
    LocalSmtpServer server(true);
    TempDir dir;
    WriteBytes(dir.file("password"), {'s', 'e', 'c', 'r', 'e', 't', '1', '\n'});
    const std::string send = "mail send --port " + std::to_string(server.port()) + " " + kMail +
                             " --user user1 --password-file " + dir.file("password") + " --verbose --server ";
    const ToolRun loopback = Dvrkit(send + "127.0.0.1");
    EXPECT_EQ(loopback.exitCode, 0) << loopback.out;
    EXPECT_NE(loopback.out.find("C: EHLO "), std::string::npos) << loopback.out;
    EXPECT_NE(loopback.out.find("not logging in: the server is 127.0.0.1"), std::string::npos) << loopback.out;
    const ToolRun plain = Dvrkit(send + "localhost");
    EXPECT_EQ(plain.exitCode, 0) << plain.out;
    EXPECT_NE(plain.out.find("not logging in: the connection is not encrypted"), std::string::npos) << plain.out;
    EXPECT_TRUE(server.Auth().is_null());
}

// An AUTH that gets no answer ends the send at the time-out instead of going on to MAIL.
TEST(MailCli, UnansweredAuthFails) {
    ScriptedSmtpServer server({"> 220 dvr.example ESMTP", "<", "> 250-dvr.example\n250 AUTH LOGIN", "<"});
    TempDir dir;
    WriteBytes(dir.file("password"), {'s', 'e', 'c', 'r', 'e', 't', '1', '\n'});
    const ToolRun run = Dvrkit("mail send --server localhost --port " + std::to_string(server.port()) + " " + kMail +
                               " --user user1 --password-file " + dir.file("password") + " --tls off --timeout 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("authentication failed: no reply"), std::string::npos) << run.out;
    const std::vector<std::string> commands = server.Commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].substr(0, 5), "EHLO ");
    EXPECT_EQ(commands[1], "AUTH LOGIN");
}

// A sender with a display name, and an attachment whose name is not ASCII, as the server and
// Python's parser read them.
TEST(MailCli, DisplayNameAndNonAsciiFileName) {
    LocalSmtpServer server(false);
    TempDir dir;
    const std::string file = dir.file("T\xC3\xBCr 3 \xE2\x80\x93 Halle.jpg");
    WriteBytes(file, {1, 2, 3});
    const ToolRun run = Dvrkit("mail send --server 127.0.0.1 --port " + std::to_string(server.port()) +
                               " --from 'T\xC3\xBCrsensor Halle <alarm@dvr.example>' --to ops@example.com"
                               " --subject s --body b --attach '" + file + "'");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const std::string path = server.WaitForMail(1);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(server.Envelope(1)["from"], "alarm@dvr.example");
    const nlohmann::json mail = PythonParseMail(path);
    EXPECT_EQ(mail["decoded"]["From"], "T\xC3\xBCrsensor Halle <alarm@dvr.example>");
    ASSERT_EQ(mail["parts"].size(), 2u);
    EXPECT_EQ(mail["parts"][1]["filename"], "T\xC3\xBCr 3 \xE2\x80\x93 Halle.jpg");
    EXPECT_EQ(mail["parts"][1]["name"], "T\xC3\xBCr 3 \xE2\x80\x93 Halle.jpg");
    EXPECT_EQ(mail["parts"][1]["data"], "AQID");
    EXPECT_EQ(mail["parts"][1]["defects"], nlohmann::json::array());
}

TEST(MailCli, TimeoutForASilentServer) {
    ScriptedSmtpServer silent({});
    const ToolRun run =
        Dvrkit("mail send --server 127.0.0.1 --port " + std::to_string(silent.port()) + " " + kMail + " --timeout 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Server didn't respond. (timed out waiting for the greeting)"), std::string::npos)
        << run.out;
}

}  // namespace
