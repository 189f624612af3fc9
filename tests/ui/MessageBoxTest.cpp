// The message box: shown modal with its text and an OK button; the headless backend records
// and answers it at once, leaving the queued answers for other modal windows.
#include "UiTestSupport.h"
#include "platform/ui/CDesktop.h"
#include "platform/ui/CMessageBox.h"

namespace {

using MessageBoxTest = UiTest;

TEST_F(MessageBoxTest, HeadlessBackendRecordsEachMessageAndAnswersOk) {
    ui.QueueModalAnswer([](CWnd&) { ADD_FAILURE() << "a message box took a queued answer"; });
    EXPECT_EQ(AfxMessageBox("Read error"), IDOK);
    EXPECT_EQ(AfxMessageBox("write error", MB_OK), IDOK);
    EXPECT_EQ(backend.Messages(), (std::vector<std::string>{"Read error", "write error"}));
    EXPECT_EQ(ui.QueuedAnswers(), 1u);
    backend.ClearMessages();
    EXPECT_TRUE(backend.Messages().empty());
    ui.QueueModalAnswer(nullptr);  // not reached: cleared with the driver
}

TEST_F(MessageBoxTest, ShowsItsTextAndEndsWithTheOkButton) {
    // A driver as a person at a display: it reads the box, then clicks OK.
    std::string shown;
    CDesktop::Get().SetModalDriver([this, &shown](CWnd& box, const bool& ended) {
        shown = ui.Text(*box.GetDlgItem(CMessageBox::kTextLabel));
        ui.Click(*box.GetDlgItem(IDOK));
        EXPECT_TRUE(ended);
    });
    EXPECT_EQ(AfxMessageBox("Invalid bitmap file"), IDOK);
    EXPECT_EQ(shown, "Invalid bitmap file");
    EXPECT_TRUE(backend.Messages().empty());
}

}  // namespace
