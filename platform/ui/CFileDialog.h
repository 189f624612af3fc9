#pragma once
// The file dialog: a modal window with a path field, the first filter's description, OK and
// Cancel. DoModal returns IDOK with the chosen path, or IDCANCEL. OK checks the typed path
// against the flags (OFN_PATHMUSTEXIST: its folder exists; OFN_FILEMUSTEXIST, for opening: the
// file exists) and otherwise keeps the dialog open with a message; a name without an extension
// gets the default extension. Enter in the field is OK, Escape is Cancel.
//
// A save dialog names a file to write: a new file is always accepted (OFN_FILEMUSTEXIST does
// not apply), and an existing one is accepted only when the person confirms it: the first OK
// on it says that it exists and asks, a second OK on the same path replaces it, as
// OFN_OVERWRITEPROMPT asks whether or not the flag is given. A folder is refused.
//
// The desktop's modal driver runs the dialog: a real display until the user answers, the
// headless backend through the answer the host or test gave (a dialog left open is
// cancelled).
#include "platform/core/CString.h"
#include "platform/ui/CWnd.h"

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

class CFileDialog : public CWnd {
public:
    // Control IDs inside the dialog, for hosts and tests that answer it.
    static constexpr UINT kFileNameField = 1152;
    static constexpr UINT kTypeLabel = 1089;
    static constexpr UINT kMessageLabel = 1090;

    // `filter` is pairs of description and pattern separated by '|' and ended by "||".
    CFileDialog(BOOL openFileDialog, const char* defaultExt = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);

    int DoModal();
    CString GetPathName() const { return m_path; }
    // The name after the last '/', its extension (without the dot) and the name without it.
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    DWORD GetFlags() const { return m_flags; }
    // The filter's descriptions and patterns, in order.
    const std::vector<std::pair<CString, CString>>& GetFilters() const { return m_filters; }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnOK();
    void OnCancel();
    void OnClose();

private:
    void End(int result);
    // The typed path made complete, or an empty text with `problem` set.
    CString Resolve(CString* problem);
    CString SavePath(const std::string& path, CString* problem);

    BOOL m_open;
    CString m_defaultExt;
    CString m_initialName;
    DWORD m_flags;
    std::vector<std::pair<CString, CString>> m_filters;
    CString m_path;
    // The existing file the person was asked about; a second OK on it replaces it.
    std::string m_replaceAsked;
    bool m_ended = false;
    int m_result = IDCANCEL;
    std::vector<std::unique_ptr<CWnd>> m_controls;
};
