#include <gtest/gtest.h>

#include <cstring>

#include "log2/LogMonthData.h"
#include "log2/LogTextRenderer.h"
#include "log2/LogTypeGroups.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"
#include "tests/support/TestStrings.h"

namespace {

_LOG_RECORD_MEMORY_ Record(BYTE type, BYTE category, BYTE code, DWORD v1 = 0, DWORD v2 = 0, DWORD v3 = 0,
                           DWORD v4 = 0, const char* t1 = "", const char* t2 = "") {
    _LOG_RECORD_MEMORY_ r{.type = type, .category = category, .code = code, .format = 2, .value1 = v1,
                          .value2 = v2, .value3 = v3, .value4 = v4, .text1 = {}, .text2 = {}, .handle = 0};
    std::strncpy(r.text1, t1, sizeof r.text1 - 1);
    std::strncpy(r.text2, t2, sizeof r.text2 - 1);
    return r;
}

std::string Host(UINT id) { return AfxFindString(id); }

CString Format1(const std::string& format, auto... args) {
    CString s;
    s.Format(format.c_str(), args...);
    return s;
}

}  // namespace

TEST(LogText, EveryRenderFormFillsItsHostFormat) {
    ScopedTz tz("Europe/Berlin");
    const DWORD t = CTime(2005, 4, 2, 13, 45, 30).GetTime();
    struct Case {
        _LOG_RECORD_MEMORY_ record;
        std::string expected;
    } cases[] = {
        {Record(1, 1, 1), Host(7325)},                                                            // 1
        {Record(3, 2, 3, 5), Format1(Host(7353), 5).str()},                                       // 2
        {Record(1, 1, 4, 0, 0, 0, 0, "admin"), Format1(Host(7333), "admin").str()},              // 3
        {Record(3, 1, 4, 10, 25), Format1(Host(7344), 10, 25).str()},                             // 4
        {Record(3, 2, 6, 3, 0, 0, 0, "Door"), Format1(Host(7356), 3, "Door").str()},              // 5
        {Record(3, 1, 1, 0, 0, 0, 0, "a", "b"), Format1(Host(7341), "a", "b").str()},             // 6
        {Record(3, 2, 24, 2005, 4, 2), Format1(Host(7374), 2005, 4, 2).str()},                    // 7
        {Record(3, 7, 4, 1, 3, 0, 0, "x@y"), Format1(Host(7407), 1, "x@y", 3).str()},             // 8
        {Record(3, 2, 10, 1, 2, 3, 4), Format1(Host(7360), 1, 2, 3, 4).str()},                    // 9
        {Record(2, 2, 1, 3, t), Format1(Host(7337), 3, "2005-04-02 13:45:30").str()},             // 10
        {Record(2, 1, 1, 0x8005, t), Format1(Host(7335), "[ 1, 3, 16 ]", "2005-04-02 13 Hour").str()},  // 11
        {Record(3, 2, 1, 0), Format1(Host(7351), "[  ]").str()},                                  // 12
        {Record(3, 2, 2, 1), Format1(Host(7352), "NTSC").str()},                                  // 13
        {Record(3, 2, 2, 0), Format1(Host(7352), "PAL").str()},
        {Record(3, 3, 1, 2, 1, 2, 1), Format1(Host(7375), 2, "[ 1 ]", "[ 2 ]", "NO").str()},      // 15
        {Record(3, 5, 4, 0), Format1(Host(7389), "Reject").str()},                                // 16
        {Record(3, 6, 8, 7), Format1(Host(7401), "Accept").str()},                                // 17
        {Record(8, 1, 1, 1, 42), Format1(Host(7841), 42).str()},                                  // 18
        {Record(8, 1, 1, 3, 42), "Log Message False !!!"},
        {Record(8, 1, 3, 1, 42), ""},
        {Record(3, 2, 21, 4, 3), Format1(Host(7371), 4, "[ 1, 2 ]").str()},                       // 19
        {Record(3, 7, 5, 1, 0, 0, 0, "ann", "pw"), Format1(Host(61237), "ann", "pw", "Administrator").str()},  // 20
        {Record(3, 8, 5, 70000, 8080, 65537, 0, "h", "p"), Format1(Host(61239), 4464, "h", "p", 8080, 1).str()},  // 21
        {Record(3, 7, 7, 2, 0, 0, 0, "A", "AB"), Format1(Host(61238), 2, "NONE", "AB").str()},    // 22
        {Record(3, 5, 9, 80, 1, 0, 0, "a", "b"), Format1(Host(61236), Host(7602).c_str(), 80, "a", "b").str()},  // 23
        {Record(3, 5, 9, 80, 6), Format1(Host(61236), Host(7848).c_str(), 80, "", "").str()},
        {Record(3, 5, 9, 80, 3), Format1(Host(61236), "", 80, "", "").str()},
    };
    CLogTextRenderer renderer;
    for (const Case& c : cases) {
        const auto& r = c.record;
        EXPECT_EQ(renderer.GetLogString(r), c.expected + "\r\n")
            << "type " << int(r.type) << " category " << int(r.category) << " code " << int(r.code);
    }
}

TEST(LogText, NetworkTypesArePrefixedAndUnknownKeysFallBack) {
    CLogTextRenderer renderer;
    const std::string plain = renderer.GetLogString(Record(3, 2, 3, 5)).str();
    EXPECT_EQ(renderer.GetLogString(Record(6, 2, 3, 5)), "Network - " + plain);
    for (const auto& r : {Record(7, 1, 1), Record(1, 9, 9), Record(4, 9, 9), Record(0, 0, 0), Record(9, 1, 1)})
        EXPECT_EQ(renderer.GetLogString(r), "Log Message False !!!\r\n") << int(r.type);
}

// A host format that does not take what its form passes is never handed to printf.
TEST(LogText, AFormatThatDoesNotMatchItsFormShowsTheFallback) {
    TestStrings strings({{7353, "%s would read a number as a text"}, {7333, "%d%d reads two numbers"},
                         {7341, "%ld is too wide"}, {7325, "100% form 1 is shown as it stands"},
                         {7356, "channel %*d"}});
    CLogTextRenderer renderer;
    EXPECT_EQ(renderer.GetLogString(Record(3, 2, 3, 5)), "Log Message False !!!\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(1, 1, 4, 0, 0, 0, 0, "admin")), "Log Message False !!!\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(3, 1, 1)), "Log Message False !!!\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(1, 1, 1)), "100% form 1 is shown as it stands\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(3, 2, 6, 3, 0, 0, 0, "x")), "Log Message False !!!\r\n");
}

// A host format that could pad a record's text without bound, by its own width or by one a
// stored number gives, is never handed to printf.
TEST(LogText, AFormatOfUnboundedWidthShowsTheFallback) {
    TestStrings strings({{7353, "%499999999u"}, {7344, "%*d"}, {7333, "%.*s"}, {7379, "%255u %-8u"}});
    CLogTextRenderer renderer;
    EXPECT_EQ(renderer.GetLogString(Record(3, 2, 3, 5)), "Log Message False !!!\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(3, 1, 4, 0x7FFFFFFF, 1)), "Log Message False !!!\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(1, 1, 4, 0, 0, 0, 0, "admin")), "Log Message False !!!\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(3, 4, 1, 1, 2)), std::string(254, ' ') + "1 2" + std::string(7, ' ') + "\r\n");
}

TEST(LogText, TextsReadFromAFileNeedNoTerminator) {
    _LOG_RECORD_MEMORY_ r = Record(1, 1, 4);
    std::memset(r.text1, 'A', sizeof r.text1);  // no zero anywhere in the field
    std::memset(r.text2, 'B', sizeof r.text2);
    CLogTextRenderer renderer;
    EXPECT_EQ(renderer.GetLogString(r), Format1(Host(7333), std::string(32, 'A').c_str()) + "\r\n");
}

TEST(LogText, MaskStrings) {
    EXPECT_EQ(GetMaskString(0), "[  ]");
    EXPECT_EQ(GetMaskString(1), "[ 1 ]");
    EXPECT_EQ(GetMaskString(0x8005), "[ 1, 3, 16 ]");
    EXPECT_EQ(GetMaskString(0x10000), "[  ]");
    EXPECT_EQ(GetMaskString(0xFFFFFFFF), "[ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 ]");
}

// A host whose table lacks the log's strings sees which ones where labels and lines would be
// blank.
TEST(LogText, StringsTheHostLacksShowTheirIdentifiers) {
    ScopedTz tz("UTC");
    TempDir dir;
    ScopedClock clock(0);
    const DWORD log = WriteTestLog(dir.path(), clock,
                                   {.start = CTime(2005, 4, 2, 10, 0, 0), .name = "door", .records = {{.format = 0}}});
    ASSERT_FALSE(HasFailure());
    CLogMonthData month;
    ASSERT_EQ(month.Load(dir.path(), {2005, 4}), LogMonthLoad::loaded);

    const NoHostStrings none;
    CLogTextRenderer renderer;
    EXPECT_EQ(renderer.LogTextBlock(month, *month.FindLog(log)),
              "[string 7440]2005-04-02 10:00:00\r\n[string 7442]door\r\n\r\n[string 7444]\r\n[string 7325]\r\n");
    EXPECT_EQ(renderer.GetLogString(Record(3, 2, 3, 5)), "[string 7353]\r\n") << "a form with arguments";
    EXPECT_EQ(renderer.GetLogString(Record(6, 2, 3, 5)), "Network - [string 7353]\r\n");
    EXPECT_EQ(LoadTypeLabels()[0], "[string 7799]") << "the browser's type groups";
}

TEST(LogText, TextBlocksAndTheMonthExport) {
    ScopedTz tz("Europe/Berlin");
    TempDir dir;
    ScopedClock clock(0);
    // Written without closing: no end time.
    const DWORD open = WriteTestLog(dir.path(), clock,
                                    {.start = CTime(2005, 4, 2, 10, 0, 0), .name = "still open", .records = {{.format = 0}}});
    const DWORD closed = WriteTestLog(dir.path(), clock,
                                      {.start = CTime(2005, 4, 3, 11, 0, 0), .type = 3, .name = "closed",
                                       .records = {{.category = 2, .code = 3, .value1 = 5},
                                                   {.code = 4, .value1 = 10, .value2 = 20}},
                                       .end = CTime(2005, 4, 3, 11, 0, 9), .result = 1});
    ASSERT_FALSE(HasFailure());

    CLogMonthData month;
    ASSERT_EQ(month.Load(dir.path(), {2005, 4}), LogMonthLoad::loaded);
    CLogTextRenderer renderer;
    const std::string closedBlock = Host(7440) + "2005-04-03 11:00:00\r\n" + Host(7441) + "2005-04-03 11:00:09\r\n" +
                                    Host(7442) + "closed\r\n\r\n" + Host(7444) + "\r\n" +
                                    Format1(Host(7353), 5).str() + "\r\n" + Format1(Host(7344), 10, 20).str() + "\r\n";
    const std::string openBlock = Host(7440) + "2005-04-02 10:00:00\r\n" + Host(7442) + "still open\r\n\r\n" +
                                  Host(7444) + "\r\n" + Host(7325) + "\r\n";
    EXPECT_EQ(renderer.LogTextBlock(month, *month.FindLog(closed)), closedBlock);
    EXPECT_EQ(renderer.LogTextBlock(month, *month.FindLog(open)), openBlock);
    const std::string separator = std::string(49, '-') + "\r\n";
    EXPECT_EQ(renderer.MonthText(month), closedBlock + separator + openBlock + separator);
}
