// The tool's own JSON strings against nlohmann's dump, which wrote the tool's JSON lines before:
// the same bytes for every text, whole or broken UTF-8 included.
#include <gtest/gtest.h>

#include <random>

#include <nlohmann/json.hpp>

#include "tools/dvrkit/JsonText.h"

namespace {

std::string Ours(std::string_view text) {
    std::string out = "x";  // appended to what the line already holds
    AppendJsonString(out, text);
    return out.substr(1);
}

std::string Theirs(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

TEST(JsonText, EscapesAndReplacesAsNlohmannDoes) {
    const std::string cases[] = {
        "",
        "plain text",
        std::string("nul \0 inside", 12),
        "\b\t\n\f\r\x01\x1b\x1f \x7f",
        "quote \" backslash \\ slash /",
        "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80",  // two-, three- and four-byte characters
        "\x80",                                  // a stray continuation byte
        "\xC0\xAF",                              // an overlong slash
        "\xE0\x80\xAF",                          // an overlong three-byte form
        "\xED\xA0\x80",                          // a surrogate
        "\xF4\x90\x80\x80",                      // past U+10FFFF
        "\xF5\x80",                              // a lead byte no character has
        "\xE2\x28\xA1",                          // a lead byte whose next byte is ASCII
        "\xE2\x82",                              // cut off at the end
        "\xE2\x82(",                             // cut off before ASCII
        "\xF0\x9F\x98",                          // a four-byte character cut off at the end
        "\xE2\x82\xE2\x82\xAC",                  // cut off before a whole character
        "\xFF\xFE\xC3",                          // only bad bytes
        "\xC3\xA4\xC3",                          // a whole character, then a cut one
    };
    for (const std::string& text : cases) EXPECT_EQ(Ours(text), Theirs(text)) << testing::PrintToString(text);
}

// Texts of random bytes drawn mostly from the bytes that begin, continue and break characters.
TEST(JsonText, AgreesWithNlohmannOnRandomBytes) {
    std::mt19937 random(20051);
    const unsigned char alphabet[] = {0x00, 0x0a, 0x1f, 0x22, 0x41, 0x5c, 0x7f, 0x80, 0x8f, 0x90, 0x9f, 0xa0,
                                      0xbf, 0xc0, 0xc2, 0xdf, 0xe0, 0xed, 0xef, 0xf0, 0xf4, 0xf5, 0xff};
    std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 1), length(0, 12);
    for (int round = 0; round < 200000; ++round) {
        std::string text(length(random), ' ');
        for (char& c : text) c = static_cast<char>(alphabet[pick(random)]);
        ASSERT_EQ(Ours(text), Theirs(text)) << testing::PrintToString(text);
    }
}

TEST(JsonText, NumbersAsNlohmannWritesThem) {
    for (const std::int64_t n : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{4294967295}, INT64_MIN, INT64_MAX}) {
        std::string out;
        AppendJsonNumber(out, n);
        EXPECT_EQ(out, nlohmann::json(n).dump());
    }
}

}  // namespace
