// The save dialog, answered through the same input a user gives: a click into the path field,
// typed text, a click on OK or Cancel, Enter or Escape.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ui/CFileDialog.h"
#include "tests/support/TempDir.h"

namespace {

constexpr const char* kFilter = "Text File (*.txt)|*.txt|All File(*.*)|*.*||";
constexpr DWORD kExportFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

class FileDialogTest : public UiTest {
protected:
    // Types `path` into the next dialog's field and presses the button `id` (or a key for 0).
    void Answer(const std::string& path, UINT id, UINT key = 0) {
        ui.QueueModalAnswer([this, path, id, key](CWnd& dialog) {
            seen.push_back(ui.Text(*dialog.GetDlgItem(CFileDialog::kTypeLabel)));
            ui.TypeInto(*dialog.GetDlgItem(CFileDialog::kFileNameField), path);
            if (key) {
                ui.Press({key});
            } else {
                ui.Click(*dialog.GetDlgItem(id));
            }
            seen.push_back(ui.Text(*dialog.GetDlgItem(CFileDialog::kMessageLabel)));
            if (IsWindow(dialog.GetSafeHwnd()) && !seen.back().empty()) {
                ui.Press({VK_ESCAPE});  // the user gives up after the message
            }
        });
    }
    std::vector<std::string> seen;
    TempDir dir;
};

TEST_F(FileDialogTest, OkGivesTheTypedPathWithTheDefaultExtension) {
    CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY, kFilter, &frame);
    ASSERT_EQ(dialog.GetFilters().size(), 2u);
    EXPECT_STREQ(dialog.GetFilters()[1].second.c_str(), "*.*");
    const std::string path = dir.path() + "/export";
    Answer(path, IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(dialog.GetPathName().c_str(), (path + ".txt").c_str());
    EXPECT_STREQ(dialog.GetFileName().c_str(), "export.txt");
    EXPECT_STREQ(dialog.GetFileExt().c_str(), "txt");
    EXPECT_STREQ(dialog.GetFileTitle().c_str(), "export");
    EXPECT_EQ(seen.front(), "Text File (*.txt)");
    EXPECT_FALSE(IsWindow(dialog.GetSafeHwnd()));
}

TEST_F(FileDialogTest, FlagsKeepTheOpenDialogOpenWithAMessageUntilCancelled) {
    CFileDialog dialog(TRUE, nullptr, nullptr, kExportFlags, kFilter, &frame);
    Answer(dir.path() + "/missing.txt", IDOK);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(seen.back(), "The file does not exist.");
    EXPECT_STREQ(dialog.GetPathName().c_str(), "");

    Answer(dir.path() + "/no/such/folder/a.txt", IDOK);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(seen.back(), "The folder does not exist.");

    // An existing file passes; Enter is OK.
    const std::string existing = dir.path() + "/old.txt";
    WriteBytes(existing, {'x'});
    Answer(existing, 0, VK_RETURN);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(dialog.GetPathName().c_str(), existing.c_str());
}

// A save dialog, with the flags the log export gives it, names a file to create; an existing
// file is replaced only when the person confirms it, and a folder is no file to save.
TEST_F(FileDialogTest, SavingTakesANewFileAndAsksBeforeAnExistingOne) {
    CFileDialog dialog(FALSE, nullptr, nullptr, kExportFlags, kFilter, &frame);
    const std::string fresh = dir.path() + "/new.txt";
    Answer(fresh, IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(dialog.GetPathName().c_str(), fresh.c_str());

    const std::string existing = dir.path() + "/old.txt";
    WriteBytes(existing, {'x'});
    Answer(existing, IDOK);  // the person gives up after the question
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(seen.back(), "old.txt already exists. Press OK again to replace it.");

    ui.QueueModalAnswer([this, existing](CWnd& d) {
        ui.TypeInto(*d.GetDlgItem(CFileDialog::kFileNameField), existing);
        ui.Press({VK_RETURN, VK_RETURN});
    });
    EXPECT_EQ(dialog.DoModal(), IDOK) << "a second OK on the same file replaces it";
    EXPECT_STREQ(dialog.GetPathName().c_str(), existing.c_str());

    // The question is about one file: asked about one, OK on another existing file asks again.
    const std::string other = dir.path() + "/other.txt";
    WriteBytes(other, {'y'});
    ui.QueueModalAnswer([this, existing, other](CWnd& d) {
        CWnd& field = *d.GetDlgItem(CFileDialog::kFileNameField);
        ui.TypeInto(field, existing);
        ui.Press({VK_RETURN});
        field.SetWindowText(other.c_str());
        ui.Press({VK_RETURN});
        seen.push_back(ui.Text(*d.GetDlgItem(CFileDialog::kMessageLabel)));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(seen.back(), "other.txt already exists. Press OK again to replace it.");

    Answer(dir.path(), IDOK);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(seen.back(), "That is a folder: enter a file name.");
}

TEST_F(FileDialogTest, TabMovesTheFocusThroughFieldOkAndCancel) {
    CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY, kFilter, &frame);
    std::vector<UINT> focused;
    ui.QueueModalAnswer([&focused, this](CWnd&) {
        for (int i = 0; i < 4; ++i) {
            focused.push_back(CWnd::GetFocus()->GetDlgCtrlID());
            ui.Press({VK_TAB});
        }
        ui.Press({VK_SPACE, VK_TAB, VK_TAB, VK_SPACE});  // on the field again: nothing; then Tab twice to Cancel
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(focused, (std::vector<UINT>{CFileDialog::kFileNameField, IDOK, IDCANCEL, CFileDialog::kFileNameField}));
}

TEST_F(FileDialogTest, CancelOrNoAnswerIsCancel) {
    CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY, kFilter, &frame);
    Answer(dir.path() + "/a", IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(ui.QueuedAnswers(), 0u);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "no answer";
    Answer("", IDOK);  // an empty name is refused
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(seen.back(), "Enter a file name.");
}

}  // namespace
