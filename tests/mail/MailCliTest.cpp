// dvrkit mail compose and send, run as a user runs them.
#include <gtest/gtest.h>

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

const std::string kMail = "--from alarm@dvr.example --to 'Bob <bob@example.com>; ops@example.com' "
                          "--subject 'Camera 3' --body 'Motion detected.'";

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
    const ToolRun refused =
        Dvrkit("mail send --server 127.0.0.1 --port " + std::to_string(FreeLoopbackPort()) + " " + kMail, tmp);
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.out.find("Must be connected"), std::string::npos) << refused.out;
    const auto trace = ReadBytes(tmp.file("EMailSender.txt"));
    const std::string text(trace.begin(), trace.end());
    EXPECT_EQ(text.rfind("Must be connected: Unable to connect to server: ", 0), 0u) << text;

    const ToolRun badList = Dvrkit("mail compose --from a@example.com --to 'Bob <bob@example.com' --subject s --body b");
    EXPECT_NE(badList.exitCode, 0);
    EXPECT_NE(badList.out.find("recipient list"), std::string::npos) << badList.out;

    const ToolRun noBody = Dvrkit("mail compose --from a@example.com --to b@example.com --subject s");
    EXPECT_NE(noBody.exitCode, 0);
    EXPECT_NE(noBody.out.find("--body"), std::string::npos) << noBody.out;

    const ToolRun noServer = Dvrkit("mail send " + kMail);
    EXPECT_NE(noServer.exitCode, 0);
}

}  // namespace
