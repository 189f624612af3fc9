// The library's lookup of host strings: a string the host lacks shows as its identifier.
#include <gtest/gtest.h>

#include "module/HostText.h"
#include "tests/support/TestStrings.h"

TEST(HostText, AStringNoModuleHoldsShowsItsIdentifierAndAnEmptyOneStaysEmpty) {
    const NoHostStrings none;
    const TestStrings host({{7440, "Opened: "}, {7441, ""}});
    const struct {
        UINT id;
        std::string text;
    } cases[] = {
        {7440, "Opened: "},
        {7441, ""},  // the host's own choice
        {7442, "[string 7442]"},
        {0, "[string 0]"},
        {4294967295u, "[string 4294967295]"},
    };
    for (const auto& c : cases) EXPECT_EQ(HostText(c.id), c.text) << c.id;
}
