// Composition of the notification mail: base64, recipients, header, body parts, wrapping.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include <openssl/evp.h>

#include "mail/CBase64Codec.h"
#include "mail/CFilePartRenderer.h"
#include "mail/CMultipartMail.h"
#include "mail/CTextPartRenderer.h"
#include "mail/HeaderFields.h"
#include "mail/MailText.h"
#include "tests/mail/MailPeers.h"
#include "tests/support/TempDir.h"

namespace {

constexpr DWORD kFri4Dec2026At135508Tokyo = 1796360108;

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return bytes;
}

std::string Encode(const std::vector<uint8_t>& bytes) {
    CBase64Codec codec;
    return codec.Encode(bytes.data(), static_cast<int>(bytes.size())).str();
}

// The mail as sent: header then body.
std::string Composed(CMultipartMail& mail) {
    mail.Prepare();
    return mail.HeaderText().str() + mail.m_body.str();
}

std::string WithoutMessageId(const std::string& text) {
    static const std::regex id("Message-ID: <\\d+\\.\\d+\\.\\d+@[A-Za-z0-9.-]+>\r\n");
    return std::regex_replace(text, id, "Message-ID: <id>\r\n");
}

// --- base64 -----------------------------------------------------------------------------------

TEST(Base64, Rfc4648Vectors) {
    // RFC 4648 section 10.
    const std::pair<std::string, std::string> vectors[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"abc", "YWJj"}};
    for (const auto& [plain, text] : vectors) {
        EXPECT_EQ(Encode({plain.begin(), plain.end()}), text) << plain;
        std::vector<BYTE> out(text.size() + 1, 0xEE);
        CBase64Codec codec;
        const int n = codec.Decode(text.c_str(), out.data());
        EXPECT_EQ(std::string(out.begin(), out.begin() + n), plain) << text;
    }
    CBase64Codec codec;
    EXPECT_EQ(codec.Encode(nullptr, 5), "");
}

TEST(Base64, MatchesPython) {
    TempDir dir;
    std::mt19937 random(20261204);
    for (const size_t size : {1u, 2u, 3u, 53u, 54u, 55u, 1000u, 65537u}) {
        std::vector<uint8_t> bytes(size);
        for (auto& b : bytes) b = static_cast<uint8_t>(random());
        WriteBytes(dir.file("data"), bytes);
        EXPECT_EQ(Encode(bytes), PythonBase64(dir.file("data"))) << size;
    }
}

// Every length and alignment around the vectorised steps (24 bytes, 28 readable), against
// OpenSSL's encoder.
TEST(Base64, MatchesOpenSslAtEveryLengthAndOffset) {
    std::mt19937 random(72);
    std::vector<uint8_t> bytes(300);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    for (size_t offset = 0; offset < 4; ++offset) {
        for (size_t size = 0; size + offset <= bytes.size(); ++size) {
            std::string expected(CBase64Codec::EncodedSize(size) + 1, '\0');
            expected.resize(static_cast<size_t>(
                EVP_EncodeBlock(reinterpret_cast<unsigned char*>(expected.data()), bytes.data() + offset,
                                static_cast<int>(size))));
            std::string text;
            CBase64Codec().AppendEncoded(bytes.data() + offset, size, text);
            ASSERT_EQ(text, expected) << "size " << size << " offset " << offset;
        }
    }
}

TEST(Base64, DecodeRefusesWhatIsNotBase64) {
    std::vector<BYTE> out(64);
    CBase64Codec codec;
    EXPECT_EQ(codec.Decode("Zm9v YmFy", out.data()), 0);   // a blank
    EXPECT_EQ(codec.Decode("Zm9v\r\nYmFy", out.data()), 0);  // a line break
    EXPECT_EQ(codec.Decode("Zm9v*", out.data()), 0);
    EXPECT_EQ(codec.Decode("", out.data()), 0);
    EXPECT_EQ(codec.Decode(nullptr, out.data()), 0);
    EXPECT_EQ(codec.Decode("Zm9v", nullptr), 0);
    EXPECT_EQ(codec.Decode("Zg=", out.data()), 1);  // padding is skipped wherever it stands
}

// --- recipients -------------------------------------------------------------------------------

struct RecipientCase {
    const char* list;
    int result;
    std::vector<std::pair<std::string, std::string>> entries;  // address, name
};

class RecipientList : public testing::TestWithParam<RecipientCase> {};

TEST_P(RecipientList, Parses) {
    const RecipientCase& c = GetParam();
    CMultipartMail mail;
    EXPECT_EQ(mail.ParseRecipientList(c.list, RecipientKind::Cc), c.result);
    std::vector<std::pair<std::string, std::string>> got;
    CString address, name;
    for (int i = 0; mail.RecipientAt(i, address, name, RecipientKind::Cc); ++i) got.emplace_back(address.str(), name.str());
    EXPECT_EQ(got, c.entries);
    EXPECT_EQ(mail.RecipientCount(RecipientKind::To), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RecipientList, testing::Values(
    RecipientCase{"Bob <bob@example.com>;carol@example.com", 1, {{"bob@example.com", "Bob"}, {"carol@example.com", ""}}},
    RecipientCase{"a@example.com; b@example.com", 1, {{"a@example.com", ""}, {"b@example.com", ""}}},
    RecipientCase{"a@example.com;", 1, {{"a@example.com", ""}}},
    RecipientCase{"a@example.com;; ;b@example.com", 1, {{"a@example.com", ""}, {"b@example.com", ""}}},
    RecipientCase{"  Night Shift  <  ops@example.com >  ", 1, {{"ops@example.com", "Night Shift"}}},
    RecipientCase{"", 1, {}},
    RecipientCase{"a>b<c", 0, {}},
    RecipientCase{"a@example.com;Bob <bob@example.com", 0, {{"a@example.com", ""}}},
    RecipientCase{"<a@example.com\r\nRCPT TO: <victim@example.com>>", 0, {}},
    // Commas separate entries too, but not inside a name, quoted or before the address.
    RecipientCase{"a@example.com, Bob <bob@example.com>,c@example.com",
                  1,
                  {{"a@example.com", ""}, {"bob@example.com", "Bob"}, {"c@example.com", ""}}},
    RecipientCase{"Doe, John <john@example.com>, \"Roe, Jane\" <jane@example.com>",
                  1,
                  {{"john@example.com", "Doe, John"}, {"jane@example.com", "\"Roe, Jane\""}}}));

TEST(Recipients, KindsOutsideTheListsSelectNothing) {
    CMultipartMail mail;
    const auto other = static_cast<RecipientKind>(3);
    EXPECT_EQ(mail.AppendRecipient("a@example.com", "", other), 1);
    EXPECT_EQ(mail.RecipientCount(other), 0);
    CString address = "kept", name = "kept";
    EXPECT_EQ(mail.RecipientAt(0, address, name, other), 0);
    mail.AppendRecipient("a@example.com", "", RecipientKind::Bcc);
    EXPECT_EQ(mail.RecipientAt(-1, address, name, RecipientKind::Bcc), 0);
    EXPECT_EQ(mail.RecipientAt(1, address, name, RecipientKind::Bcc), 0);
    EXPECT_EQ(address, "kept");
}

// --- the whole mail ---------------------------------------------------------------------------

class Compose : public testing::Test {
protected:
    Compose() {
        mail.m_sender = "alarm@dvr.example";
        mail.m_subject = "Camera 3";
        mail.ParseRecipientList("Bob <bob@example.com>; carol@example.com", RecipientKind::To);
        mail.ParseRecipientList("hidden@example.com", RecipientKind::Bcc);
    }
    std::string Attach(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteBytes(dir.file(name), bytes);
        mail.AttachPart(dir.file(name), 1, "");
        return dir.file(name);
    }

    ScopedTz tz{"Asia/Tokyo"};
    ScopedClock clock{kFri4Dec2026At135508Tokyo};
    TempDir dir;
    CMultipartMail mail;
};

TEST_F(Compose, WholeText) {
    mail.m_body = "  \r\nMotion on camera 3.\r\n ";
    std::vector<uint8_t> bytes(55);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    Attach("cam1.jpg", bytes);
    EXPECT_EQ(WithoutMessageId(Composed(mail)),
              "To: Bob <bob@example.com>,<carol@example.com>\r\n"
              "Cc: \r\n"
              "From: alarm@dvr.example\r\n"
              "Subject: Camera 3\r\n"
              "Date: Fri, 04 Dec 2026 13:55:08 +0900\r\n"
              "Message-ID: <id>\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: multipart/mixed; boundary=ZM_MAIL_PaRt_BoUnDaRy_05151998\r\n"
              "\r\n"
              "This is a multi-part message in MIME format.\r\n"
              "\r\n"
              "--ZM_MAIL_PaRt_BoUnDaRy_05151998\r\n"
              "Content-Type: text/plain\r\n"
              "Content-Transfer-Encoding: 7Bit\r\n"
              "\r\n"
              "Motion on camera 3.\r\n"
              "--ZM_MAIL_PaRt_BoUnDaRy_05151998\r\n"
              "Content-Type: application/octet-stream; file=cam1.jpg\r\n"
              "Content-Transfer-Encoding: base64\r\n"
              "Content-Disposition: attachment; filename=cam1.jpg\r\n"
              "\r\n"
              "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1\r\n"
              "Ng==\r\n"
              "\r\n"
              "--ZM_MAIL_PaRt_BoUnDaRy_05151998--\r\n");
    EXPECT_EQ(mail.DateSent(), kFri4Dec2026At135508Tokyo);
}

TEST_F(Compose, MessageIdsDiffer) {
    const std::regex line("Message-ID: (<\\d+\\.\\d+\\.\\d+@[A-Za-z0-9.-]+>)\r\n");
    std::smatch first, second;
    const std::string a = Composed(mail);
    CMultipartMail other;
    const std::string b = Composed(other);
    ASSERT_TRUE(std::regex_search(a, first, line));
    ASSERT_TRUE(std::regex_search(b, second, line));
    EXPECT_NE(first[1], second[1]);
    EXPECT_EQ(a.find("Message-ID"), a.find("\r\n", a.find("Date: ")) + 2);  // right after the Date line
}

TEST_F(Compose, LineBreaksInHeaderTextsAreFolded) {
    mail.m_subject = "Alarm\r\nBcc: everyone@example.com";
    mail.m_sender = "alarm@dvr.example\nX-Injected: 1";
    const std::string text = Composed(mail);
    EXPECT_NE(text.find("Subject: Alarm  Bcc: everyone@example.com\r\n"), std::string::npos);
    EXPECT_NE(text.find("From: alarm@dvr.example X-Injected: 1\r\n"), std::string::npos);
    EXPECT_EQ(text.find("hidden@example.com"), std::string::npos);  // Bcc stays out of the header
}

TEST_F(Compose, EmptyBodyQueuesNoTextPart) {
    Attach("a.bin", {1, 2, 3});
    const std::string text = Composed(mail);
    EXPECT_NE(text.find("MIME format.\r\n\r\n--ZM_MAIL_PaRt_BoUnDaRy_05151998\r\nContent-Type: application/octet-stream"),
              std::string::npos);
    EXPECT_EQ(text.find("text/plain"), std::string::npos);
}

TEST_F(Compose, MissingFileLeavesOnlyItsBoundary) {
    mail.m_body = "Hello";
    mail.AttachPart(dir.file("missing.jpg"), 1, "");
    const std::string text = Composed(mail);
    EXPECT_NE(text.find("Hello\r\n--ZM_MAIL_PaRt_BoUnDaRy_05151998\r\n--ZM_MAIL_PaRt_BoUnDaRy_05151998--\r\n"),
              std::string::npos);
}

// Attachments of sizes around one base64 line, checked line by line and through Python's parser.
class AttachmentSize : public Compose, public testing::WithParamInterface<size_t> {};

TEST_P(AttachmentSize, EncodesInLinesOf72) {
    const size_t size = GetParam();
    const std::vector<uint8_t> bytes = Counting(size);
    const std::string path = Attach("data.bin", bytes);
    const std::string text = Composed(mail);
    const size_t start = text.find("filename=data.bin\r\n\r\n") + 21;
    const size_t end = text.find("--ZM_MAIL_PaRt_BoUnDaRy_05151998--");
    const std::string body = text.substr(start, end - start);

    // One line per 54 bytes, then the rest (possibly empty), then the extra empty line.
    std::string expected;
    const std::string all = PythonBase64(path);
    const size_t fullLines = size / 54;
    for (size_t i = 0; i < fullLines; ++i) expected += all.substr(i * 72, 72) + "\r\n";
    expected += all.substr(fullLines * 72) + "\r\n\r\n";
    EXPECT_EQ(body, expected);

    WriteBytes(dir.file("mail.eml"), std::vector<uint8_t>(text.begin(), text.end()));
    const nlohmann::json parsed = PythonParseMail(dir.file("mail.eml"));
    ASSERT_EQ(parsed["parts"].size(), 1u);
    EXPECT_EQ(parsed["parts"][0]["filename"], "data.bin");
    EXPECT_EQ(parsed["parts"][0]["data"], all);
}

INSTANTIATE_TEST_SUITE_P(Sizes, AttachmentSize, testing::Values(0, 1, 53, 54, 55, 108, 1000));

TEST(FileNames, LastComponentOfAnyPath) {
    for (const char* path : {"cam1.jpg", "/var/dvr/cam1.jpg", "C:\\dvr\\snap\\cam1.jpg", "C:cam1.jpg", "D:/x\\cam1.jpg"})
        EXPECT_EQ(FileNameOfPath(path), "cam1.jpg") << path;
}

TEST(FileNames, QuotedWhenNotAToken) {
    EXPECT_EQ(ParameterValue("cam1.jpg"), "cam1.jpg");
    EXPECT_EQ(ParameterValue("report 2024.txt"), "\"report 2024.txt\"");
    EXPECT_EQ(ParameterValue("a;b.txt"), "\"a;b.txt\"");
    EXPECT_EQ(ParameterValue("say \"hi\".txt"), "\"say \\\"hi\\\".txt\"");
    EXPECT_EQ(ParameterValue("evil\r\nX: 1"), "\"evil  X: 1\"");
}

TEST_F(Compose, QuotedFileNameReachesTheReader) {
    Attach("report 2024.txt", {'h', 'i'});
    const std::string text = Composed(mail);
    EXPECT_NE(text.find("Content-Disposition: attachment; filename=\"report 2024.txt\"\r\n"), std::string::npos);
    WriteBytes(dir.file("mail.eml"), std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(PythonParseMail(dir.file("mail.eml"))["parts"][0]["filename"], "report 2024.txt");
}

// --- date zones -------------------------------------------------------------------------------

struct ZoneCase {
    const char* zone;
    DWORD time;
    const char* date;
};

TEST(MailDate, ZoneOffsetOfTheInstant) {
    const ZoneCase cases[] = {
        {"UTC", 1782907200, "Wed, 01 Jul 2026 12:00:00 +0000"},
        {"Asia/Tokyo", 1782907200, "Wed, 01 Jul 2026 21:00:00 +0900"},
        {"Asia/Kolkata", 1782907200, "Wed, 01 Jul 2026 17:30:00 +0530"},
        {"America/New_York", 1768478400, "Thu, 15 Jan 2026 07:00:00 -0500"},
        {"America/New_York", 1782907200, "Wed, 01 Jul 2026 08:00:00 -0400"},
        {"Europe/Berlin", 1782907200, "Wed, 01 Jul 2026 14:00:00 +0200"},
        {"Europe/Berlin", 1768478400, "Thu, 15 Jan 2026 13:00:00 +0100"},
    };
    for (const ZoneCase& c : cases) {
        ScopedTz tz(c.zone);
        EXPECT_EQ(MailDateText(CTime(c.time)), c.date) << c.zone;
    }
}

// --- line ends and dots -----------------------------------------------------------------------

TEST(MailText, LineEndsAndDots) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd"}, {"\r\r\n\n", "\r\n\r\n\r\n"}, {"", ""}};
    for (const auto& [in, out] : cases) EXPECT_EQ(ToCrLf(in), out);
    const std::pair<std::string, std::string> stuffed[] = {
        {".\r\n", "..\r\n"}, {"a\r\n.\r\nb", "a\r\n..\r\nb"}, {".x\r\n..y\r\n", "..x\r\n...y\r\n"},
        {"a\n.\r\n", "a\r\n..\r\n"}, {"a.b\r\n", "a.b\r\n"}};
    for (const auto& [in, out] : stuffed) EXPECT_EQ(DotStuffData(in), out);
}

// --- wrapping ---------------------------------------------------------------------------------

// The wrapping rule written plainly: the text is rebuilt at every break. Quadratic, kept here to
// check that the linear version gives the same texts. A break goes only at a blank after the
// current line's first character that is not white space.
std::string WrapByRebuilding(std::string t, int width) {
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    size_t s = std::string::npos, lineText = std::string::npos;
    int n = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == ' ') s = i;
        if (lineText == std::string::npos && !space(t[i])) lineText = i;
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') {
            n = 0;
            lineText = std::string::npos;
        }
        if (n > width && lineText != std::string::npos && s != std::string::npos && s > lineText && s < t.size() &&
            t[s] == ' ') {
            std::string left = t.substr(0, s);
            std::string right = t.substr(s);
            while (!left.empty() && space(left.back())) left.pop_back();
            size_t skip = 0;
            while (skip < right.size() && space(right[skip])) ++skip;
            t = left + "\r\n" + right.substr(skip);
            lineText = left.size() + 2;
            n = 0;
        } else {
            ++n;
        }
    }
    return t;
}

std::vector<size_t> LineLengths(const std::string& text) {
    std::vector<size_t> lengths;
    for (size_t start = 0;;) {
        const size_t end = text.find("\r\n", start);
        lengths.push_back((end == std::string::npos ? text.size() : end) - start);
        if (end == std::string::npos) return lengths;
        start = end + 2;
    }
}

TEST(WrapText, DesignedExamples) {
    const CTextPartRenderer renderer(76);
    std::string words;
    for (int i = 0; i < 30; ++i) words += std::string(i ? " " : "") + "abcdefghi";
    EXPECT_EQ(LineLengths(renderer.WrapText(words)), (std::vector<size_t>{69, 79, 79, 69}));
    EXPECT_EQ(renderer.WrapText("short text\r\nstays"), "short text\r\nstays");
    EXPECT_EQ(renderer.WrapText(""), "");
}

// A line is broken only at its own blanks: a line without one, or one that starts with blanks
// and then has none, stays whole, and the lines before it keep their breaks.
TEST(WrapText, NeverBreaksBeforeTheCurrentLine) {
    const CTextPartRenderer renderer(76);
    const std::string unbroken(200, 'x');
    const std::string door = "T\xC3\xBCr 3 offen";
    const std::string cases[] = {
        unbroken,
        door + "\r\n" + unbroken,
        door + "\r\n   " + unbroken,
        "a b\r\n\r\n" + unbroken + "\r\nc d",
    };
    for (const std::string& text : cases) EXPECT_EQ(renderer.WrapText(text), text);
    EXPECT_EQ(renderer.WrapText(door + "\r\n" + unbroken + " end"), door + "\r\n" + unbroken + "\r\nend");
}

// Lines that fit are left as they are, wherever the long lines around them break (a line's
// blanks at its ends may go with the break before it).
TEST(WrapText, LinesThatFitStayWhole) {
    std::mt19937 random(15);
    const std::vector<std::string> pieces = {"word", "a", "  ", " ", "\r\n", "longerwordhere", "x"};
    const int width = 20;
    const CTextPartRenderer renderer(width);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 200);
        for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
        const std::string wrapped = "\r\n" + renderer.WrapText(text) + "\r\n";
        for (size_t start = 0; start <= text.size();) {
            const size_t end = std::min(text.find("\r\n", start), text.size());
            const std::string line = text.substr(start, end - start);
            const bool fits = !line.empty() && line.size() < static_cast<size_t>(width) && line.front() != ' ' &&
                              line.back() != ' ';
            if (fits) {
                EXPECT_NE(wrapped.find("\r\n" + line + "\r\n"), std::string::npos) << line << " in " << text;
            }
            start = end + 2;
        }
    }
}

TEST(WrapText, SameAsRebuildingOnRandomTexts) {
    std::mt19937 random(76);
    const std::vector<std::string> pieces = {"word", "a", "  ", " ", "\r\n", "\t", "longerwordhere", "\r\n\r\n", "x"};
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
        for (const int width : {1, 3, 10, 76}) {
            const CTextPartRenderer renderer(width);
            ASSERT_EQ(renderer.WrapText(text), WrapByRebuilding(text, width)) << "width " << width << ": " << text;
        }
    }
}

}  // namespace
