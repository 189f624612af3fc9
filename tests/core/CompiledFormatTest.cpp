#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/CompiledFormat.h"

using Arg = CompiledFormat::Arg;

// Each conversion, the plain ones written directly and the others through the C library, gives
// printf's text; literal runs and "%%" stay as printf leaves them. What is appended comes after
// what the buffer held.
TEST(CompiledFormat, FillsAsPrintfDoes) {
    struct Case {
        const char* format;
        std::vector<Arg> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"", {}, ""},
        {"no conversion, 100%% literal", {}, "no conversion, 100% literal"},
        {"%d", {DWORD{0}}, "0"},
        {"%d", {DWORD{0x80000000}}, "-2147483648"},  // a 32-bit word read as a signed int
        {"%i", {DWORD{0xFFFFFFFF}}, "-1"},
        {"%u", {DWORD{0xFFFFFFFF}}, "4294967295"},
        {"%x|%X", {DWORD{0xBEEF}, DWORD{0xBEEF}}, "beef|BEEF"},
        {"%o", {DWORD{8}}, "10"},
        {"%c", {DWORD{'A'}}, "A"},
        {"[%5d][%-8u]", {DWORD{42}, DWORD{7}}, "[   42][7       ]"},
        {"%05x %#X %+d", {DWORD{255}, DWORD{255}, DWORD{3}}, "000ff 0XFF +3"},
        {"%hd %hhu", {DWORD{70000}, DWORD{257}}, "4464 1"},
        {"%.3s|%-6s|%s", {"abcdef", "ab", ""}, "abc|ab    |"},
        {"channel %d: %s", {DWORD{3}, "front door"}, "channel 3: front door"},
    };
    for (const Case& c : cases) {
        std::string out = "kept:";
        CompiledFormat(c.format).AppendTo(out, c.args);
        EXPECT_EQ(out, "kept:" + c.expected) << c.format;
    }
}

// A text longer than the library path's stack buffer comes out whole.
TEST(CompiledFormat, ALongTextThroughTheLibraryIsWhole) {
    const std::string longText(3000, 'x');
    std::string out;
    CompiledFormat("<%-5s>").AppendTo(out, std::vector<Arg>{longText.c_str()});
    EXPECT_EQ(out, "<" + longText + ">");
}

// An argument of another kind than its conversion reads is never handed to printf.
TEST(CompiledFormat, AnArgumentOfTheWrongKindIsLeftOut) {
    std::string out;
    CompiledFormat("a%sb%5sc%dd").AppendTo(out, std::vector<Arg>{DWORD{1}, DWORD{2}, "text"});
    EXPECT_EQ(out, "abcd");
}
