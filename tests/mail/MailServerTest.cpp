// Mails sent through the mail thread to a real SMTP server (aiosmtpd), read back with Python's
// email parser.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "mail/CBase64Codec.h"
#include "tests/mail/MailPeers.h"
#include "tests/mail/MailThreadWait.h"
#include "tests/support/TempDir.h"

namespace {

std::string Base64Of(const std::vector<uint8_t>& bytes) {
    CBase64Codec codec;
    return codec.Encode(bytes.data(), static_cast<int>(bytes.size())).str();
}

std::string Header(const nlohmann::json& mail, const std::string& name) {
    for (const auto& h : mail["headers"])
        if (h[0] == name) return h[1];
    return "<missing>";
}

class RealServer : public testing::Test {
protected:
    // Sends `s` to `server` and returns Python's reading of the mail that arrived.
    nlohmann::json SendAndParse(const LocalSmtpServer& server, MailSettings s) {
        s.port = server.port();
        EXPECT_TRUE(SendAndWait(s));
        const std::string path = server.WaitForMail(++m_sent);
        EXPECT_FALSE(path.empty()) << "no mail arrived";
        if (path.empty()) return {};
        const auto raw = ReadBytes(path);
        EXPECT_FALSE(HasBareLineEnd({reinterpret_cast<const char*>(raw.data()), raw.size()}));
        return PythonParseMail(path);
    }

    TempDir dir;
    int m_sent = 0;
};

TEST_F(RealServer, MailWithAttachmentArrivesWhole) {
    LocalSmtpServer server(false);
    std::vector<uint8_t> bytes(100000);
    std::mt19937 random(3);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    WriteBytes(dir.file("snap shot.jpg"), bytes);
    MailSettings s;
    s.body = "Motion detected.\n.hidden starts with a dot\n.\nend";
    const std::string attachment = dir.file("snap shot.jpg");
    s.attachment = attachment.c_str();

    const nlohmann::json mail = SendAndParse(server, s);
    EXPECT_EQ(Header(mail, "To"), "Bob <bob@example.com>,<carol@example.com>");
    EXPECT_EQ(Header(mail, "Cc"), "");
    EXPECT_EQ(Header(mail, "From"), "alarm@dvr.example");
    EXPECT_EQ(Header(mail, "Subject"), "Camera 3 alarm");
    EXPECT_NE(Header(mail, "Message-ID"), "<missing>");
    EXPECT_NE(Header(mail, "Date"), "<missing>");
    EXPECT_EQ(mail["boundary"], "ZM_MAIL_PaRt_BoUnDaRy_05151998");
    EXPECT_TRUE(mail["defects"].empty());
    ASSERT_EQ(mail["parts"].size(), 2u);
    EXPECT_EQ(mail["parts"][0]["type"], "text/plain");
    // The raw data held only CR LF line ends (checked above); the parser gives lines with LF. The
    // dot lines arrive as written: stuffed by the client, unstuffed by the server.
    const std::string text = "Motion detected.\n.hidden starts with a dot\n.\nend";
    EXPECT_EQ(mail["parts"][0]["data"], Base64Of({text.begin(), text.end()}));
    EXPECT_EQ(mail["parts"][1]["type"], "application/octet-stream");
    EXPECT_EQ(mail["parts"][1]["filename"], "snap shot.jpg");
    EXPECT_EQ(mail["parts"][1]["data"], Base64Of(bytes));

    const nlohmann::json envelope = server.Envelope(1);
    EXPECT_EQ(envelope["from"], "alarm@dvr.example");
    EXPECT_EQ(envelope["to"], (nlohmann::json{"bob@example.com", "carol@example.com"}));
    EXPECT_TRUE(server.Auth().is_null());
}

TEST_F(RealServer, NoAttachmentForNullEmptyOrMissingPath) {
    LocalSmtpServer server(false);
    MailSettings s;
    EXPECT_EQ(SendAndParse(server, s)["parts"].size(), 1u);
    s.attachment = "";
    EXPECT_EQ(SendAndParse(server, s)["parts"].size(), 1u);
    const std::string missing = dir.file("missing.jpg");
    s.attachment = missing.c_str();
    const nlohmann::json mail = SendAndParse(server, s);
    ASSERT_EQ(mail["parts"].size(), 2u);  // an empty part where the file would be
    EXPECT_EQ(mail["parts"][1]["data"], "");
}

struct AuthCase {
    const char* name;
    bool serverAuth;
    const char* host;
    const char* user;
    const char* password;
    bool authenticated;
};

class AuthLogin : public RealServer, public testing::WithParamInterface<AuthCase> {};

TEST_P(AuthLogin, PerformedOnlyWhenDue) {
    const AuthCase& c = GetParam();
    LocalSmtpServer server(c.serverAuth);
    MailSettings s;
    s.server = c.host;
    s.user = c.user;
    s.password = c.password;
    s.security.plainAuthAllowed = true;  // these cases are about when credentials are due
    EXPECT_EQ(SendAndParse(server, s)["parts"].size(), 1u);  // delivered in every case
    const nlohmann::json auth = server.Auth();
    if (c.authenticated) {
        EXPECT_EQ(auth, (nlohmann::json{{"mechanism", "LOGIN"}, {"login", c.user}, {"password", c.password}}));
    } else {
        EXPECT_TRUE(auth.is_null()) << auth;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AuthLogin, testing::Values(
    AuthCase{"LongCredentialsByName", true, "localhost", "user1", "secret-password", true},
    AuthCase{"LoopbackAddressSkipsAuth", true, "127.0.0.1", "user1", "secret-password", false},
    AuthCase{"ShortUserSkipsAuth", true, "localhost", "abc", "secret-password", false},
    AuthCase{"ShortPasswordSkipsAuth", true, "localhost", "user1", "pwd", false},
    AuthCase{"ServerWithoutAuthStillGetsTheMail", false, "localhost", "user1", "secret-password", false}),
    [](const testing::TestParamInfo<AuthCase>& info) { return info.param.name; });

TEST_F(RealServer, NullSelfPointerStillSends) {
    LocalSmtpServer server(false);
    MailSettings s;
    s.port = server.port();
    StartMailThread(s, nullptr);
    EXPECT_FALSE(server.WaitForMail(1).empty());
}

TEST_F(RealServer, ThreadCreatedByRuntimeClass) {
    LocalSmtpServer server(false);
    const CRuntimeClass* cls = CRuntimeClass::FromName("CEMailThread");
    ASSERT_EQ(cls, classCEMailThread);
    auto* thread = static_cast<CEMailThread*>(AfxBeginThread(cls, CREATE_SUSPENDED));
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->GetRuntimeClass(), cls);
    CEMailThread* self = thread;
    thread->SetPort(server.port());
    thread->Initialize(&self, "127.0.0.1", "s", "ops@example.com", "alarm@dvr.example", "", "", "body", nullptr);
    thread->ResumeThread();
    EXPECT_FALSE(server.WaitForMail(1).empty());
    while (!IsMailThreadDone(&self)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace
