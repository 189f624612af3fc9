#include "platform/ui/CFileDialog.h"

#include <filesystem>

#include "platform/ui/CButton.h"
#include "platform/ui/CDesktop.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CStatic.h"

namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 130;

// The path field: Enter and Escape answer the dialog.
class DialogField : public CEdit {
public:
    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {msgmap::OnKey<&DialogField::OnKeyDown>(WM_KEYDOWN)};
        static const MessageMap map{CEdit::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    void OnKeyDown(UINT key, UINT, UINT) {
        if (key == VK_RETURN || key == VK_ESCAPE) {
            GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(key == VK_RETURN ? IDOK : IDCANCEL, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(this));
            return;
        }
        Default();
    }
};

std::vector<std::pair<CString, CString>> ParseFilter(const char* filter) {
    std::vector<std::pair<CString, CString>> out;
    if (!filter) return out;
    std::vector<std::string> parts;
    std::string part;
    for (const char* c = filter; *c; ++c) {
        if (*c == '|') {
            parts.push_back(part);
            part.clear();
        } else {
            part += *c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;  // "||" ends the list
        out.emplace_back(parts[i].c_str(), parts[i + 1].c_str());
    }
    return out;
}

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd*)
    : m_open(openFileDialog),
      m_defaultExt(defaultExt ? defaultExt : ""),
      m_initialName(fileName ? fileName : ""),
      m_flags(flags),
      m_filters(ParseFilter(filter)) {}

const MessageMap* CFileDialog::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CFileDialog::OnCreate>(),
        msgmap::OnCommand<&CFileDialog::OnOK>(BN_CLICKED, IDOK),
        msgmap::OnCommand<&CFileDialog::OnCancel>(BN_CLICKED, IDCANCEL),
        msgmap::OnClose<&CFileDialog::OnClose>(),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

int CFileDialog::DoModal() {
    CDesktop& desktop = CDesktop::Get();
    const int x = std::max(0, (desktop.Width() - kWidth) / 2);
    const int y = std::max(0, (desktop.Height() - kHeight) / 2);
    m_ended = false;
    m_result = IDCANCEL;
    m_path = "";
    m_replaceAsked.clear();
    const char* title = m_open ? "Open" : "Save As";
    if (!CreateEx(0, nullptr, title, WS_POPUP | WS_VISIBLE | WS_BORDER, CRect(x, y, x + kWidth, y + kHeight), nullptr, 0)) {
        return IDCANCEL;
    }
    CWnd* previousFocus = CWnd::GetFocus();
    if (CWnd* field = GetDlgItem(kFileNameField)) field->SetFocus();
    desktop.RunModal(*this, m_ended);
    DestroyWindow();
    m_controls.clear();
    if (IsWindow(previousFocus)) previousFocus->SetFocus();
    return m_result;
}

int CFileDialog::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    auto add = [this](std::unique_ptr<CWnd> control, const char* cls, const char* text, DWORD style, CRect r, UINT id) {
        control->CreateEx(cls == std::string("Edit") ? WS_EX_CLIENTEDGE : 0, cls, text, WS_CHILD | WS_VISIBLE | style, r,
                          this, id);
        m_controls.push_back(std::move(control));
    };
    const CString type = m_filters.empty() ? CString("") : m_filters.front().first;
    add(std::make_unique<CStatic>(), "Static", "File name:", SS_CENTERIMAGE, CRect(10, 10, 80, 32), 0);
    add(std::make_unique<DialogField>(), "Edit", m_initialName.c_str(), WS_TABSTOP | ES_AUTOHSCROLL,
        CRect(85, 10, 370, 32), kFileNameField);
    add(std::make_unique<CStatic>(), "Static", "Type:", SS_CENTERIMAGE, CRect(10, 38, 80, 60), 0);
    add(std::make_unique<CStatic>(), "Static", type.c_str(), SS_CENTERIMAGE, CRect(85, 38, 370, 60), kTypeLabel);
    add(std::make_unique<CStatic>(), "Static", "", SS_CENTERIMAGE, CRect(10, 66, 370, 88), kMessageLabel);
    add(std::make_unique<CWnd>(), "Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(210, 94, 285, 120), IDOK);
    add(std::make_unique<CWnd>(), "Button", "Cancel", WS_TABSTOP, CRect(295, 94, 370, 120), IDCANCEL);
    return 0;
}

CString CFileDialog::Resolve(CString* problem) {
    CString typed;
    if (CWnd* field = GetDlgItem(kFileNameField)) field->GetWindowText(typed);
    std::string path = typed.str();
    path.erase(0, path.find_first_not_of(' '));
    path.erase(path.find_last_not_of(' ') + 1);
    if (path.empty() || path.back() == '/') {
        *problem = "Enter a file name.";
        return {};
    }
    const std::filesystem::path p(path);
    if (!p.has_extension() && !m_defaultExt.IsEmpty()) path += "." + m_defaultExt.str();
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if ((m_flags & OFN_PATHMUSTEXIST) && !folder.empty() && !std::filesystem::is_directory(folder, error)) {
        *problem = "The folder does not exist.";
        return {};
    }
    if (m_open) {
        if ((m_flags & OFN_FILEMUSTEXIST) && !std::filesystem::is_regular_file(path, error)) {
            *problem = "The file does not exist.";
            return {};
        }
        return CString(path.c_str());
    }
    return SavePath(path, problem);
}

// A file to save names a new file, or an existing one the person chose twice: the first OK on it
// asks, the second replaces it.
CString CFileDialog::SavePath(const std::string& path, CString* problem) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return CString(path.c_str());
    if (std::filesystem::is_directory(status)) {
        *problem = "That is a folder: enter a file name.";
        return {};
    }
    if (m_replaceAsked == path) return CString(path.c_str());
    m_replaceAsked = path;
    problem->Format("%s already exists. Press OK again to replace it.",
                    std::filesystem::path(path).filename().string().c_str());
    return {};
}

void CFileDialog::OnOK() {
    CString problem;
    const CString path = Resolve(&problem);
    if (path.IsEmpty()) {
        if (CWnd* message = GetDlgItem(kMessageLabel)) message->SetWindowText(problem);
        return;
    }
    m_path = path;
    End(IDOK);
}

void CFileDialog::OnCancel() { End(IDCANCEL); }

// Closing the window is cancelling; the window itself ends when DoModal returns.
void CFileDialog::OnClose() { End(IDCANCEL); }

void CFileDialog::End(int result) {
    m_result = result;
    m_ended = true;
}

CString CFileDialog::GetFileName() const {
    const std::string& p = m_path.str();
    const size_t slash = p.find_last_of('/');
    return CString(slash == std::string::npos ? p.c_str() : p.c_str() + slash + 1);
}

CString CFileDialog::GetFileExt() const {
    const CString name = GetFileName();
    const size_t dot = name.str().find_last_of('.');
    return CString(dot == std::string::npos ? "" : name.c_str() + dot + 1);
}

CString CFileDialog::GetFileTitle() const {
    const CString name = GetFileName();
    const size_t dot = name.str().find_last_of('.');
    return CString(name.str().substr(0, dot).c_str());
}
