// The text forms of the mail as a reader sees them: Python's email parser reads back non-ASCII
// bodies, subjects and names exactly, whatever the server takes, and no line exceeds SMTP's limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/CBase64Codec.h"
#include "mail/CMultipartMail.h"
#include "mail/CTextPartRenderer.h"
#include "mail/MailText.h"
#include "mail/MimeFormat.h"
#include "tests/mail/MailPeers.h"
#include "tests/support/TempDir.h"

namespace {

std::string Base64(const std::string& text) {
    CBase64Codec codec;
    return codec.Encode(reinterpret_cast<const BYTE*>(text.data()), static_cast<int>(text.size())).str();
}

// `text` with its line ends as LF, as the parser gives decoded text back.
std::string WithLf(const std::string& text) {
    std::string out;
    for (const char c : ToCrLf(text))
        if (c != '\r') out += c;
    return out;
}

// What the reader gets: the text as queued (without white space at its ends) and wrapped, with
// nothing else lost or changed on the way.
std::string AsRead(const std::string& body) {
    return WithLf(CTextPartRenderer(mime::kDefaultWrapWidth).WrapText(ToCrLf(TrimSpace(CString(body)).str())));
}

std::size_t LongestLine(const std::string& text) {
    std::size_t longest = 0, start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        longest = std::max(longest, end - start);
    return std::max(longest, text.size() - start);
}

struct FormCase {
    const char* name;
    std::string body;
    bool eightBitAllowed;
    const char* encoding;
    const char* charset;  // nullptr for none
    bool eightBitUsed;
};

const std::string kUmlauts = "Bewegung erkannt: T\xC3\xBCr offen, Gr\xC3\xB6\xC3\x9F" "e \xE2\x9C\x93";

const FormCase kForms[] = {
    {"PlainAsciiAsWritten", "Motion detected.\nChannel 3.", false, "7Bit", nullptr, false},
    {"PlainAsciiAsWrittenEvenWhen8BitIsTaken", "Motion detected.", true, "7Bit", nullptr, false},
    {"Utf8QuotedWithout8BitMime", kUmlauts, false, "quoted-printable", "utf-8", false},
    {"Utf8In8BitsWith8BitMime", kUmlauts, true, "8bit", "utf-8", true},
    {"LongAsciiRunQuoted", std::string(3000, 'x'), true, "quoted-printable", nullptr, false},
    {"LongUtf8RunQuotedEvenWith8BitMime", std::string(1200, 'a') + kUmlauts, true, "quoted-printable", "utf-8",
     false},
    {"TrailingBlankAndEqualsSign", "a = b \nc\t", false, "7Bit", nullptr, false},
    {"NulByteQuoted", std::string("a\0b", 3), true, "quoted-printable", nullptr, false},
};

class TextForm : public testing::TestWithParam<FormCase> {
protected:
    TempDir dir;
};

TEST_P(TextForm, ReadsBackExactly) {
    const FormCase& c = GetParam();
    CMultipartMail mail;
    mail.m_sender = "alarm@dvr.example";
    mail.m_subject = "Camera 3";
    mail.m_body = CString(c.body);
    mail.AppendRecipient("ops@example.com", "", RecipientKind::To);
    mail.SetEightBitAllowed(c.eightBitAllowed);
    mail.Prepare();
    const std::string raw = mail.HeaderText().str() + mail.m_body.str();
    EXPECT_LE(LongestLine(raw), mime::kMaxLineLength);
    EXPECT_EQ(mail.UsesEightBit(), c.eightBitUsed);
    WriteBytes(dir.file("mail.eml"), std::vector<uint8_t>(raw.begin(), raw.end()));

    const nlohmann::json parsed = PythonParseMail(dir.file("mail.eml"));
    EXPECT_TRUE(parsed["defects"].empty()) << parsed["defects"];
    ASSERT_EQ(parsed["parts"].size(), 1u);
    const nlohmann::json& part = parsed["parts"][0];
    EXPECT_TRUE(part["defects"].empty()) << part["defects"];
    EXPECT_EQ(part["encoding"], c.encoding);
    EXPECT_EQ(part["charset"], c.charset ? nlohmann::json(c.charset) : nlohmann::json());
    EXPECT_EQ(part["data"], Base64(AsRead(c.body)));
}

INSTANTIATE_TEST_SUITE_P(Cases, TextForm, testing::ValuesIn(kForms),
                         [](const testing::TestParamInfo<FormCase>& info) { return info.param.name; });

// The written form of plain ASCII text, byte for byte.
TEST(TextForm, PlainAsciiPartIsTheWrittenOne) {
    CMultipartMail mail;
    mail.m_body = "Motion detected.";
    mail.AppendRecipient("ops@example.com", "", RecipientKind::To);
    mail.Prepare();
    EXPECT_NE(mail.m_body.str().find("--ZM_MAIL_PaRt_BoUnDaRy_05151998\r\nContent-Type: text/plain\r\n"
                                     "Content-Transfer-Encoding: 7Bit\r\n\r\nMotion detected.\r\n"
                                     "--ZM_MAIL_PaRt_BoUnDaRy_05151998--\r\n"),
              std::string::npos)
        << mail.m_body.str();
    EXPECT_NE(mail.HeaderText().str().find("Subject: \r\n"), std::string::npos);
}

TEST(HeaderText, NonAsciiSubjectAndNamesReadBack) {
    TempDir dir;
    const std::string subject = "Kamera 3 \xE2\x80\x93 " + kUmlauts;
    const std::string longSubject = std::string(200, 'x') + " " + kUmlauts + std::string(300, 'y');
    for (const std::string& s : {subject, longSubject, std::string(990, 'z')}) {
        CMultipartMail mail;
        mail.m_sender = "alarm@dvr.example";
        mail.m_subject = CString(s);
        mail.m_body = "b";
        mail.ParseRecipientList("J\xC3\xBCrgen M\xC3\xBCller <j@example.com>; Bob <bob@example.com>",
                                RecipientKind::To);
        mail.Prepare();
        const std::string raw = mail.HeaderText().str() + mail.m_body.str();
        EXPECT_LE(LongestLine(raw), mime::kMaxLineLength);
        for (const char c : mail.HeaderText().str()) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
        WriteBytes(dir.file("mail.eml"), std::vector<uint8_t>(raw.begin(), raw.end()));
        const nlohmann::json parsed = PythonParseMail(dir.file("mail.eml"));
        EXPECT_EQ(parsed["decoded"]["Subject"], s);
        EXPECT_EQ(parsed["decoded"]["To"], "J\xC3\xBCrgen M\xC3\xBCller <j@example.com>,Bob <bob@example.com>");
    }
}

TEST(Boundary, NeverOneTheTextHolds) {
    TempDir dir;
    WriteBytes(dir.file("cam1.jpg"), {1, 2, 3, 4});
    const std::string fixed = mime::kBoundary;
    const struct {
        std::string body;
        std::string boundary;
    } cases[] = {
        {"no boundary here", fixed},
        {"a forged end\r\n--" + fixed + "--\r\nafter it", fixed + "_1"},
        {"both\r\n--" + fixed + "\r\n--" + fixed + "_1\r\n", fixed + "_2"},
    };
    for (const auto& c : cases) {
        CMultipartMail mail;
        mail.m_body = CString(c.body);
        mail.AppendRecipient("ops@example.com", "", RecipientKind::To);
        mail.AttachPart(dir.file("cam1.jpg").c_str(), mime::kFilePart, "");
        mail.Prepare();
        const std::string raw = mail.HeaderText().str() + mail.m_body.str();
        WriteBytes(dir.file("mail.eml"), std::vector<uint8_t>(raw.begin(), raw.end()));
        const nlohmann::json parsed = PythonParseMail(dir.file("mail.eml"));
        EXPECT_EQ(parsed["boundary"], c.boundary);
        ASSERT_EQ(parsed["parts"].size(), 2u) << raw;
        EXPECT_EQ(parsed["parts"][0]["data"], Base64(AsRead(c.body)));
        EXPECT_EQ(parsed["parts"][1]["data"], "AQIDBA==");
    }
}

}  // namespace
