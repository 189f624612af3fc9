// Texts cut to their field: never inside a UTF-8 character, and bytes of a single-byte
// character set cut where they were.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "module/FixedText.h"

namespace {

struct Cut {
    const char* text;
    std::size_t maxBytes;
    const char* kept;
};

TEST(FitText, CutsOnlyBetweenCharacters) {
    const Cut cuts[] = {
        {"Door", 15, "Door"},
        {"Hall door open now", 15, "Hall door open "},
        {"\xC3\x84\xC3\x84\xC3\x84", 5, "\xC3\x84\xC3\x84"},                   // Ä runs past the cut
        {"\xC3\x84\xC3\x84\xC3\x84", 4, "\xC3\x84\xC3\x84"},                   // Ä ends at the cut
        {"ab\xE2\x82\xAC", 4, "ab"},                                           // € (3 bytes)
        {"abc\xF0\x9F\x93\xB7", 6, "abc"},                                     // 📷 (4 bytes)
        {"\xE2\x82\xAC\xE2\x82\xAC", 5, "\xE2\x82\xAC"},
        {"T\xFCr offen", 2, "T\xFC"},                                         // Latin-1 ü: a byte like any
        {"ab\xE9\x41", 3, "ab\xE9"},                                          // é then A: no UTF-8 character
        {"ab\xC0\x80x", 3, "ab\xC0"},                                         // an overlong form is no character
        {"ab\xED\xA0\x80", 4, "ab\xED\xA0"},                                  // nor is a surrogate
        {"\x80\x80\x80\x80\x80", 3, "\x80\x80\x80"},                          // stray continuation bytes
    };
    for (const Cut& c : cuts) EXPECT_EQ(FitText(c.text, c.maxBytes), c.kept) << c.text << " to " << c.maxBytes;
}

TEST(FixedText, StoresWholeCharactersAndZeroFills) {
    char field[16];
    std::memset(field, 'x', sizeof field);
    StoreFixedText(field, "\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84");  // 8 x Ä, 16 bytes
    EXPECT_EQ(ReadFixedText(field), "\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84");  // 7 x Ä
    EXPECT_EQ(field[14], 0);
    EXPECT_EQ(field[15], 0);
    StoreFixedText(field, "\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4");  // Latin-1
    EXPECT_EQ(ReadFixedText(field).size(), 15u);
}

}  // namespace
