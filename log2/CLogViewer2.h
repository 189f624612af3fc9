#pragma once
// The log browser window. Its left tree lists the months that have a log file and, under the
// month the user opens, the days on which logs began; its right tree lists the logs of the
// selected day grouped by type; its text pane shows the selected log's records. The data (month
// files, loading, days, groups, record texts) come from CLogMonthData and CLogTextRenderer;
// this class only fills its controls from them and reacts to selections.
//
// The host creates the window as a child of one of its own (CreateEx) and then calls Init with
// the folder it gives the log writer. Everything runs on the window's thread.
#include <array>
#include <memory>
#include <string>

#include "log2/LogMonthData.h"
#include "log2/LogTextRenderer.h"
#include "module/BrowserControls.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CImageList.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CTreeCtrl.h"
#include "platform/ui/CWnd.h"

class CLogViewer2 : public CWnd {
public:
    static constexpr UINT kMonthTreeId = 1001, kTypeTreeId = 1002, kMessageId = 1003;
    static constexpr DWORD kMonthTreeStyle = browser::kMonthTreeStyle, kTypeTreeStyle = browser::kEntryTreeStyle;
    static constexpr DWORD kMessageStyle = browser::kPaneStyle, kMessageExStyle = browser::kPaneExStyle;

    CLogViewer2() = default;
    ~CLogViewer2() override;

    // Sets the log folder and lists its months.
    void Init(const char* path);
    void LoadLogData();
    void Reload() { LoadLogData(); }
    // Deletes every "*.log" file of the folder, then lists the months again; nothing before a
    // folder is set.
    void DeleteAll();
    void ClearMessage() { m_editMessage.SetWindowText(""); }
    // Asks for a file name and writes every log of the loaded month as text.
    void SaveLogToText();

    void MonthRootSelect(HTREEITEM month);
    void MonthChildSelect(HTREEITEM) {}
    void TypeTreeDefault();
    void TypeRootSelect(HTREEITEM) { ClearMessage(); }
    void TypeChildSelect(HTREEITEM log);
    void SystemLogMemoryClear() { m_month.Clear(); }

    CString GetLogString(_LOG_RECORD_MEMORY_* record) { return m_renderer.GetLogString(*record); }
    static CString GetMaskString(DWORD mask) { return ::GetMaskString(mask); }
    static int DateSortArray(const void* a, const void* b) { return ::DateSortArray(a, b); }
    static int FileSortArray(const void* a, const void* b) { return ::FileSortArray(a, b); }

    // What a person sees, for the host and the tests.
    CTreeCtrl& MonthTree() { return m_treeMonth; }
    CTreeCtrl& TypeTree() { return m_treeType; }
    CEdit& MessagePane() { return m_editMessage; }
    const CLogMonthData& LoadedMonth() const { return m_month; }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    // The trees and the pane share the new size as they shared the size at creation.
    LRESULT OnSize(WPARAM type, LPARAM size);
    void OnTreeMonthSelect(NMHDR* header, LRESULT* result);
    void OnTreeTypeSelect(NMHDR* header, LRESULT* result);
    void CreateControl();
    void InitControl();

private:
    browser::Controls ControlSet();
    void SelectDay(HTREEITEM day);

    std::unique_ptr<CFont> m_pFont;
    std::unique_ptr<CImageList> m_pImageList;
    CTreeCtrl m_treeMonth;
    CTreeCtrl m_treeType;
    CEdit m_editMessage;
    TypeLabels m_szTypeLabel;
    std::string m_szPath;
    CLogMonthData m_month;
    CLogTextRenderer m_renderer;
    HTREEITEM m_hSelMonth = nullptr;
    HTREEITEM m_hSelDay = nullptr;
    std::array<HTREEITEM, kLogTypeGroupCount> m_hGroup = {};  // the type tree's groups, as the table lists them
};
