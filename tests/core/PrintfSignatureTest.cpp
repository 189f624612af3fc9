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
        {"%zu", std::nullopt},  {"%ls", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(PrintfSignature(c.format), c.kinds) << c.format;
}
