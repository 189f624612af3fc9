#include <gtest/gtest.h>

#include "platform/core/PrintfSignature.h"

TEST(PrintfSignature, NamesTheArgumentsAFormatReads) {
    struct Case {
        const char* format;
        std::optional<std::string> kinds;
    } cases[] = {
        {"plain", ""},          {"100%% sure", ""},        {"%d and %s", "is"},  {"%-5u|%08x|%X", "iii"},
        {"%*d", "ii"},          {"%.*s", "is"},            {"%hd %hhu", "ii"},   {"%c", "i"},
        {"%ld", std::nullopt},  {"%lld", std::nullopt},    {"%f", std::nullopt}, {"%p", std::nullopt},
        {"%n", std::nullopt},   {"%1$d", std::nullopt},    {"ends in %", std::nullopt},
        {"%zu", std::nullopt},  {"%ls", std::nullopt},     {"%hhhd", std::nullopt},
        {"--%-hhhhhhhhi[%s]", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(PrintfSignature(c.format), c.kinds) << c.format;
}

// With a bound, a format pads a text only as far as it shows.
TEST(PrintfSignature, ABoundRefusesWiderFieldsAndFieldsTakenFromArguments) {
    struct Case {
        const char* format;
        std::optional<std::string> kinds;
    } cases[] = {
        {"%255d|%-255.255s", "is"}, {"%256u", std::nullopt}, {"%.256d", std::nullopt},
        {"%499999999u", std::nullopt}, {"%99999999999999999999999d", std::nullopt},
        {"%*d", std::nullopt}, {"%.*s", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(PrintfSignature(c.format, 255), c.kinds) << c.format;
}
