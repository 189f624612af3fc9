#include <gtest/gtest.h>

#include <sstream>
#include <set>

#include "host/DefaultHost.h"
#include "host/IconStrip.h"
#include "log2/LogTextTable.h"
#include "platform/core/PrintfSignature.h"
#include "platform/core/ResourceChain.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

namespace {

// Every identifier the library asks the host for.
std::set<UINT> RequiredIds() {
    std::set<UINT> ids;
    for (const host::IdRange& range : host::kStringRanges)
        for (UINT id = range.first; id <= range.last; ++id) ids.insert(id);
    return ids;
}

}  // namespace

TEST(DefaultHost, HasATextForEveryIdentifierTheLibraryUses) {
    for (const UINT id : RequiredIds()) {
        // The library's own module holds no strings: each must come from the host.
        EXPECT_EQ(AfxFindStringModule(id), &DefaultHostModule()) << "string " << id;
    }
}

TEST(DefaultHost, EveryRecordFormatTakesTheArgumentsOfItsRenderForm) {
    for (const LOG_TEXT_ROW& row : LOG_TEXT_TABLE) {
        if (row.stringId == 0) continue;
        const char* text = AfxFindString(row.stringId);
        ASSERT_NE(text, nullptr) << row.stringId;
        const auto kinds = PrintfSignature(text);
        ASSERT_TRUE(kinds) << row.stringId << " \"" << text << "\" uses a conversion no form passes";
        const auto forms = RenderFormSignatures(row.form);
        if (forms.empty()) {
            EXPECT_EQ(*kinds, "") << row.stringId << " is shown unformatted, so it should hold no conversion";
        } else {
            EXPECT_NE(std::find(forms.begin(), forms.end(), *kinds), forms.end())
                << row.stringId << " \"" << text << "\" (form " << int(row.form) << ") reads \"" << *kinds << "\"";
        }
    }
}

TEST(DefaultHost, PlainTextsHoldNoConversionsAndEventActionsTakeOneText) {
    for (const UINT id : {host::kCameraAction, host::kSensorAction, host::kClientCameraAction, host::kClientSensorAction})
        EXPECT_EQ(PrintfSignature(AfxFindString(id)), "s") << id;
    for (const UINT id : {host::kStartTimeLabel, host::kEndTimeLabel, host::kNameLabel, host::kRecordsHeading,
                          host::kAlarmOutputAction, host::kNetworkSourceName, host::kWebSourceName, host::kLocalSourceName, host::kFirstTypeGroupLabel,
                          host::kFirstTypeGroupLabel + host::kTypeGroupLabels - 1, host::kFlagSetText,
                          host::kNoLogFileMessage, host::kNextMonthCaption})
        EXPECT_EQ(PrintfSignature(AfxFindString(id)), "") << id;
}

// The record catalogue and the host contract name the same strings: a format outside the
// contract's ranges would be one that no host knows to supply.
TEST(DefaultHost, EveryRecordFormatIsInTheHostContract) {
    const std::set<UINT> required = RequiredIds();
    for (const LOG_TEXT_ROW& row : LOG_TEXT_TABLE) {
        if (row.stringId == 0) continue;
        EXPECT_TRUE(required.contains(row.stringId)) << row.stringId;
    }
}

TEST(DefaultHost, LogTextTableHasItsRowsAndUniqueKeys) {
    std::set<std::tuple<int, int, int>> keys;
    int keyed = 0;
    for (const LOG_TEXT_ROW& row : LOG_TEXT_TABLE) {
        if (row.type == 0) continue;
        ++keyed;
        EXPECT_TRUE(keys.insert({row.type, row.category, row.code}).second);
        EXPECT_GE(row.form, 1);
        EXPECT_LE(row.form, 23);
    }
    EXPECT_EQ(keyed, 115);
}

// The icon strip decoded by an independent decoder (Pillow): 13 icons of 16 x 16, each drawn
// (not all transparent) and each with transparent magenta around it.
TEST(DefaultHost, IconStripIsAWindowsBitmapOfThirteenIcons) {
    const auto bmp = AfxFindBitmap(host::kIconStripBitmap);
    ASSERT_FALSE(bmp.empty());
    TempDir dir;
    WriteBytes(dir.file("strip.bmp"), std::vector<std::uint8_t>(bmp.begin(), bmp.end()));
    const std::string script =
        "import sys\n"
        "from PIL import Image\n"
        "im = Image.open(sys.argv[1]); assert im.format == 'BMP', im.format\n"
        "im = im.convert('RGB'); w, h = im.size; print(w, h)\n"
        "for i in range(w // 16):\n"
        "    px = [im.getpixel((i * 16 + x, y)) for x in range(16) for y in range(16)]\n"
        "    drawn = sum(p != (255, 0, 255) for p in px)\n"
        "    print(i, drawn, 256 - drawn)\n";
    WriteBytes(dir.file("check.py"), std::vector<std::uint8_t>(script.begin(), script.end()));
    const CommandResult run = RunCommand("/usr/bin/python3 " + dir.file("check.py") + " " + dir.file("strip.bmp"));
    ASSERT_EQ(run.status, 0);
    std::istringstream out(run.output);
    int w = 0, h = 0;
    ASSERT_TRUE(out >> w >> h);
    EXPECT_EQ(w, 16 * kIconCount);
    EXPECT_EQ(h, 16);
    for (int i = 0; i < kIconCount; ++i) {
        int index = 0, drawn = 0, transparent = 0;
        ASSERT_TRUE(out >> index >> drawn >> transparent);
        EXPECT_GT(drawn, 40) << "icon " << i << " is nearly empty";
        EXPECT_GT(transparent, 0) << "icon " << i << " has no transparent background";
    }
}
