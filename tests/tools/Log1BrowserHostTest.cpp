// The tool as the first-generation browser's host: the Delete key in either tree asks first, and
// deletes what is chosen only on Yes.
#include <gtest/gtest.h>

#include "platform/backends/HeadlessBackend.h"
#include "platform/ui/CMessageBox.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"
#include "tests/support/WindowDriver.h"
#include "tools/dvrkit/Log1BrowserHost.h"

namespace {

using Labels = std::vector<std::string>;

class Log1BrowserHost : public testing::Test {
protected:
    Log1BrowserHost() : tz("Europe/Berlin") {}

    void SetUp() override {
        WriteTestEntry(dir.path(), {.time = CTime(2005, 3, 3, 9, 0, 0), .type = 0, .name = "door"});
        WriteTestEntry(dir.path(), {.time = CTime(2005, 3, 3, 10, 0, 0), .type = 3, .name = "link"});
        WriteTestEntry(dir.path(), {.time = CTime(2005, 3, 4, 9, 0, 0), .type = 3, .name = "later"});
        ASSERT_TRUE(viewer.CreateEx(0, nullptr, "log1", WS_VISIBLE, CRect(0, 0, 800, 560), nullptr, 0));
        viewer.SetLoadPath(dir.path().c_str());
        ui.ClickItem(viewer.MonthTree(), {"2005-03"});
    }
    // Presses Delete and answers the question by clicking `button`.
    void DeleteAnswering(int button) {
        ui.QueueModalAnswer([this, button](CWnd& box) { ui.Click(*box.GetDlgItem(button)); });
        ui.Press({VK_DELETE});
    }
    Labels Stored() const { return StoredEntryNames(dir.file("200503.log")); }

    TempDir dir;
    ScopedTz tz;
    HeadlessBackend backend{800, 560};
    WindowDriver ui{backend};
    CLog1BrowserHost viewer;
};

}  // namespace

TEST_F(Log1BrowserHost, TheDeleteKeyOnAnEntryAsksAndDeletesOnlyOnYes) {
    ui.ClickItem(viewer.MonthTree(), {"2005-03", "03"});
    ui.ClickItem(viewer.TypeTree(), {"Network", "10:00:00"}, LabelMatch::start);
    DeleteAnswering(IDNO);
    ASSERT_EQ(backend.Messages(), Labels{"Delete the entry \"link\" of 2005-03-03 10:00:00 under Network (1)?"});
    EXPECT_EQ(Stored(), (Labels{"door", "link", "later"}));
    DeleteAnswering(IDYES);
    EXPECT_EQ(Stored(), (Labels{"door", "later"}));
    EXPECT_EQ(ui.ChildLabels(viewer.TypeTree()),
              (Labels{"System (1)", "Recording (0)", "Setup (0)", "Network (0)", "Error (0)"}));
}

TEST_F(Log1BrowserHost, TheDeleteKeyInTheMonthTreeDeletesTheChosenDay) {
    ui.ClickItem(viewer.MonthTree(), {"2005-03", "04"});
    DeleteAnswering(IDYES);
    EXPECT_EQ(backend.Messages(), Labels{"Delete every entry of 2005-03-04?"});
    EXPECT_EQ(Stored(), (Labels{"door", "link"}));
    EXPECT_EQ(ui.ChildLabels(viewer.MonthTree(), {"2005-03"}), Labels{"03"});
}

TEST_F(Log1BrowserHost, AQuestionLeftUnansweredDeletesNothingAndOtherKeysAskNothing) {
    ui.ClickItem(viewer.MonthTree(), {"2005-03", "03"});
    ui.ClickItem(viewer.TypeTree(), {"System"}, LabelMatch::start);
    ui.Press({VK_DOWN});
    EXPECT_TRUE(backend.Messages().empty());
    ui.Press({VK_UP, VK_DELETE});  // no answer queued: the box ends as closed
    EXPECT_EQ(backend.Messages(), Labels{"Delete every entry under System (1) of 2005-03-03?"});
    EXPECT_EQ(Stored(), (Labels{"door", "link", "later"}));
}
