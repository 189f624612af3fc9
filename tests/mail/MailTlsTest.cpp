// The session over TLS against aiosmtpd with throw-away certificates: STARTTLS required by the
// server, implicit TLS, certificates that do not verify, and credentials kept off plain text.
#include <gtest/gtest.h>

#include <string>

#include "mail/CMultipartMail.h"
#include "mail/CSmtpSession.h"
#include "tests/mail/MailPeers.h"
#include "tests/mail/MailThreadWait.h"

namespace {

enum class Trust { TestCa, OtherCa };

struct TlsCase {
    const char* name;
    SmtpServerOptions server;
    SmtpTlsMode mode;
    Trust trust;
    bool opened;
    const char* openError;  // the start of the error text after OpenSession
    bool delivered;
    const char* error;      // the start of the error text after Deliver
    bool encrypted;
    const char* mechanism;  // the AUTH mechanism the server saw, empty for none
    bool verified = false;
};

const SmtpServerOptions kStartTls = {.auth = true, .tls = ServerTls::StartTlsRequired};
const SmtpServerOptions kImplicit = {.auth = true, .tls = ServerTls::Implicit};
const SmtpServerOptions kPlain = {.auth = true};

const TlsCase kCases[] = {
    {"StartTlsWhenOffered", kStartTls, SmtpTlsMode::WhenOffered, Trust::TestCa, true, "OK", true, "OK", true,
     "LOGIN", true},
    {"StartTlsRequired", kStartTls, SmtpTlsMode::Required, Trust::TestCa, true, "OK", true, "OK", true, "LOGIN", true},
    {"AuthPlainOverTls", {.auth = true, .mechanisms = "PLAIN", .tls = ServerTls::StartTlsRequired},
     SmtpTlsMode::WhenOffered, Trust::TestCa, true, "OK", true, "OK", true, "PLAIN", true},
    {"ImplicitTls", kImplicit, SmtpTlsMode::Implicit, Trust::TestCa, true, "OK", true, "OK", true, "LOGIN", true},
    // The default: encrypted where offered, verified where possible, and delivered in any case.
    {"OpportunisticVerified", kStartTls, SmtpTlsMode::Opportunistic, Trust::TestCa, true, "OK", true, "OK", true,
     "LOGIN", true},
    {"OpportunisticWithAnInternalCertificate", kStartTls, SmtpTlsMode::Opportunistic, Trust::OtherCa, true, "OK",
     true, "OK", true, "LOGIN", false},
    {"OpportunisticWithoutTlsLogsInAsBefore", kPlain, SmtpTlsMode::Opportunistic, Trust::TestCa, true, "OK", true,
     "OK", false, "LOGIN"},
    {"UntrustedCertificateOnStartTls", kStartTls, SmtpTlsMode::WhenOffered, Trust::OtherCa, false,
     "Unable to start TLS: TLS with localhost failed: certificate verify failed: ", false,
     "Must be connected: Unable to start TLS: ", false, ""},
    {"UntrustedCertificateOnImplicitTls", kImplicit, SmtpTlsMode::Implicit, Trust::OtherCa, false,
     "Unable to connect to server: TLS with localhost failed: certificate verify failed: ", false,
     "Must be connected: Unable to connect to server: ", false, ""},
    {"RequiredButNotOffered", kPlain, SmtpTlsMode::Required, Trust::TestCa, false,
     "Unable to start TLS: the server does not offer STARTTLS", false, "Must be connected: Unable to start TLS: ",
     false, ""},
    // Plain text as the host chose it: the server's own words say what is wrong.
    {"OffAgainstAServerThatRequiresTls", kStartTls, SmtpTlsMode::Off, Trust::TestCa, true,
     "530:SMTP can't authorize user ID: 530 ", false, "530:SMTP server error: 530 ", false, ""},
    // Neither offered nor allowed: the credentials stay at home and the mail goes without them.
    {"NoCredentialsOverPlainText", kPlain, SmtpTlsMode::WhenOffered, Trust::TestCa, true, "OK", true, "OK", false,
     ""},
};

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

class SmtpTls : public testing::TestWithParam<TlsCase> {
protected:
    static void SetUpTestSuite() { s_certificates = new TestCertificates; }
    static void TearDownTestSuite() { delete s_certificates; }
    static TestCertificates* s_certificates;
};

TestCertificates* SmtpTls::s_certificates = nullptr;

TEST_P(SmtpTls, Delivers) {
    const TlsCase& c = GetParam();
    SmtpServerOptions options = c.server;
    options.certificates = s_certificates;
    LocalSmtpServer server(options);
    CSmtpSession session("localhost", server.port());
    SmtpSecurity security;
    security.mode = c.mode;
    security.caFile = (c.trust == Trust::TestCa ? s_certificates->ca() : s_certificates->otherCa()).c_str();
    session.SetSecurity(security);
    session.SetCredentials("user1", "secret-password");

    EXPECT_EQ(session.OpenSession(), c.opened ? 1 : 0);
    EXPECT_TRUE(StartsWith(ErrorWithReason(session.LastError(), session.LastErrorReason()).str(), c.openError))
        << session.LastError().str() << " / " << session.LastErrorReason().str();
    CMultipartMail mail;
    mail.m_sender = "alarm@dvr.example";
    mail.m_subject = "Alarm";
    mail.m_body = "Camera 3 lost its signal.";
    mail.AppendRecipient("ops@example.com", "", RecipientKind::To);
    EXPECT_EQ(session.Deliver(mail), c.delivered ? 1 : 0);
    EXPECT_TRUE(StartsWith(ErrorWithReason(session.LastError(), session.LastErrorReason()).str(), c.error))
        << session.LastError().str() << " / " << session.LastErrorReason().str();
    EXPECT_EQ(session.IsEncrypted(), c.encrypted);
    EXPECT_EQ(session.IsVerified(), c.verified) << session.TlsProblem().str();
    session.EndSession();
    if (c.delivered) {
        EXPECT_FALSE(server.WaitForMail(1).empty());
    }
    const nlohmann::json auth = server.Auth();
    if (*c.mechanism) {
        EXPECT_EQ(auth, (nlohmann::json{{"mechanism", c.mechanism}, {"login", "user1"}, {"password", "secret-password"}}));
    } else {
        EXPECT_TRUE(auth.is_null()) << auth;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SmtpTls, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TlsCase>& info) { return info.param.name; });

// A host that calls the mail thread as it always has, against a server that wants STARTTLS and
// whose certificate the system does not trust: the mail arrives, encrypted and logged in.
TEST(SmtpTlsThread, DeliversByDefaultWithAnInternalCertificate) {
    const TestCertificates certificates;
    LocalSmtpServer server(
        SmtpServerOptions{.auth = true, .tls = ServerTls::StartTlsRequired, .certificates = &certificates});
    MailOutcome outcome;
    MailSettings settings;
    settings.server = "localhost";
    settings.port = server.port();
    settings.user = "user1";
    settings.password = "secret-password";
    settings.outcome = [&outcome](const MailOutcome& result) { outcome = result; };
    ASSERT_TRUE(SendAndWait(settings));
    EXPECT_TRUE(outcome.Succeeded()) << outcome.error.str() << " " << outcome.reason.str();
    EXPECT_TRUE(outcome.encrypted);
    EXPECT_FALSE(outcome.verified);
    EXPECT_NE(outcome.tlsProblem.Find("certificate verify failed"), -1) << outcome.tlsProblem.str();
    EXPECT_FALSE(server.WaitForMail(1).empty());
    EXPECT_EQ(server.Auth()["password"], "secret-password");
}

}  // namespace
