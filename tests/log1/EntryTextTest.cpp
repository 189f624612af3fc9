// The words of a first-generation entry's pane.
#include <gtest/gtest.h>

#include <cstring>

#include "log1/EntryText.h"
#include "tests/support/TestData.h"
#include "tests/support/TestStrings.h"

// Each of the six lines keeps its label's place, as the string's identifier, where the host has
// no such string: no line of the pane is blank.
TEST(EntryText, StringsTheHostLacksShowTheirIdentifiers) {
    ScopedTz tz("UTC");
    const NoHostStrings none;
    _LOG_RECORD_V1_ entry{};
    entry.time = CTime(2005, 3, 3, 9, 0, 0).GetTime();
    entry.type = 1;
    entry.flag = 1;
    std::strcpy(entry.name, "door");
    EXPECT_EQ(EntryPaneText(entry),
              "[string 7440]2005-03-03 09:00:00\r\n[string 7441]\r\n[string 7442]door\r\n"
              "[string 7445][string 7436]\r\n[string 7443][string 7449]\r\n[string 7444]\r\n");
}
