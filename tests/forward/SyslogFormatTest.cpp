// The message and its framing where no server shows the bytes: escapes in structured data,
// bytes that are not UTF-8, an entry without fields or body.
#include <gtest/gtest.h>

#include "forward/ForwardTarget.h"
#include "forward/SyslogFormat.h"
#include "tests/support/TempDir.h"

namespace {

const SyslogOrigin kOrigin{"recorder", "event"};

TEST(SyslogFormat, EscapesAndReplacesWhatStructuredDataCannotHold) {
    const ScopedTz tz("Asia/Kolkata");  // +05:30: the minutes of the offset
    JournalText text;
    text.heading = "head \xFF";
    text.body = "line 1\nline 2\n";
    text.AddText("text", "a\"b\\c]d\xC3\xA4\xC3");
    text.AddNumber("channel", -3);
    text.AddList("records", {"r1", "r]2"});
    std::string out;
    AppendSyslogMessage(out, kOrigin, 1709290801, text);  // 2024-03-01 11:00:01 UTC
    EXPECT_EQ(out,
              "<133>1 2024-03-01T16:30:01+05:30 recorder dvrkit - event "
              "[dvrkit@32473 text=\"a\\\"b\\\\c\\]d\xC3\xA4\xEF\xBF\xBD\" channel=\"-3\" records=\"r1\" records=\"r\\]2\"] "
              "\xEF\xBB\xBFhead \xEF\xBF\xBD\nline 1\nline 2");
}

TEST(SyslogFormat, AnEntryWithoutFieldsOrBody) {
    const ScopedTz tz("UTC");
    JournalText text;
    text.heading = "only";
    std::string out;
    AppendSyslogMessage(out, kOrigin, 0, text);
    EXPECT_EQ(out, "<133>1 1970-01-01T00:00:00+00:00 recorder dvrkit - event - \xEF\xBB\xBFonly");
    std::string framed;
    AppendOctetCounted(framed, out);
    EXPECT_EQ(framed, std::to_string(out.size()) + " " + out);
}

TEST(ForwardTargetParse, TheThreeTransportsAndWhatIsRefused) {
    struct Case {
        const char* url;
        bool ok;
        ForwardTransport transport;
        const char* host;
        unsigned port;
    };
    const Case cases[] = {
        {"relp://central:2514", true, ForwardTransport::Relp, "central", 2514},
        {"syslog+tls://10.0.0.1:6514", true, ForwardTransport::SyslogTls, "10.0.0.1", 6514},
        {"syslog+tcp://[::1]:514", true, ForwardTransport::SyslogTcp, "::1", 514},
        {"syslog+udp://central:514", false, {}, "", 0},
        {"relp://central", false, {}, "", 0},
        {"relp://central:0", false, {}, "", 0},
        {"relp://central:65536", false, {}, "", 0},
        {"relp://:514", false, {}, "", 0},
        {"relp://a/b:514", false, {}, "", 0},
    };
    for (const Case& c : cases) {
        ForwardTarget target;
        std::string error;
        ASSERT_EQ(ParseForwardTarget(c.url, target, error), c.ok) << c.url;
        if (!c.ok) {
            EXPECT_FALSE(error.empty()) << c.url;
            continue;
        }
        EXPECT_EQ(target.transport, c.transport) << c.url;
        EXPECT_EQ(target.host, c.host) << c.url;
        EXPECT_EQ(target.port, c.port) << c.url;
    }
}

}  // namespace
