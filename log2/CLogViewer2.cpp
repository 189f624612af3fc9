#include "log2/CLogViewer2.h"


#include "log2/LogFileFormat.h"
#include "module/HostContract.h"
#include "platform/core/CTime.h"
#include "platform/core/FileReplace.h"
#include "platform/core/FileSystem.h"
#include "platform/ui/CFileDialog.h"

namespace {

constexpr const char* kExportFilter = "Text File (*.txt)|*.txt|All File(*.*)|*.*||";
constexpr DWORD kExportFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

}  // namespace

const MessageMap* CLogViewer2::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CLogViewer2::OnCreate>(),
        msgmap::OnDestroy<&CLogViewer2::OnDestroy>(),
        msgmap::OnMessage<&CLogViewer2::OnSize>(WM_SIZE),
        msgmap::OnNotify<&CLogViewer2::OnTreeMonthSelect>(TVN_SELCHANGED, kMonthTreeId),
        msgmap::OnNotify<&CLogViewer2::OnTreeTypeSelect>(TVN_SELCHANGED, kTypeTreeId),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

CLogViewer2::~CLogViewer2() { DestroyWindow(); }

int CLogViewer2::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    CreateControl();
    InitControl();
    return 0;
}

void CLogViewer2::CreateControl() {
    m_pFont = browser::DefaultGuiFont();
    m_pImageList = browser::HostIcons(ILC_COLOR24);
    m_szTypeLabel = LoadTypeLabels();
    browser::CreateTwoTreeControls(*this, ControlSet(), *m_pFont, *m_pImageList);
}

browser::Controls CLogViewer2::ControlSet() {
    return {m_treeMonth, kMonthTreeId, m_treeType, kTypeTreeId, m_editMessage, kMessageId};
}

LRESULT CLogViewer2::OnSize(WPARAM, LPARAM) {
    browser::PlaceTwoTreeControls(*this, ControlSet());
    return 0;
}

void CLogViewer2::InitControl() {
    SystemLogMemoryClear();
    m_treeMonth.DeleteAllItems();
    m_treeType.DeleteAllItems();
    ClearMessage();
    TypeTreeDefault();
}

void CLogViewer2::OnDestroy() {
    SystemLogMemoryClear();
    m_treeMonth.DeleteAllItems();
    m_treeType.DeleteAllItems();
    browser::CloseControls({&m_treeMonth, &m_treeType, &m_editMessage});
    m_pFont.reset();
    m_pImageList.reset();
    CWnd::OnDestroy();
}

void CLogViewer2::Init(const char* path) {
    m_szPath = path ? path : "";
    LoadLogData();
}

void CLogViewer2::LoadLogData() {
    if (m_szPath.empty()) return;
    m_treeMonth.DeleteAllItems();
    m_treeType.DeleteAllItems();
    ClearMessage();
    SystemLogMemoryClear();
    // Deleted items' handles are never given out again, so the remembered items cannot be
    // mistaken for new ones; they are forgotten all the same, as nothing they name is left.
    m_hSelMonth = m_hSelDay = nullptr;
    const auto months = FindMonthFiles(m_szPath, logfile::kExtension);
    if (months.empty()) {
        TypeTreeDefault();
        return;
    }
    for (const MonthFileEntry& month : months)
        m_treeMonth.InsertItem(month.label.c_str(), host::kMonthIcon, host::kMonthIcon);
}

void CLogViewer2::MonthRootSelect(HTREEITEM month) {
    if (month == m_hSelMonth) return;
    if (m_hSelMonth) m_treeMonth.Expand(m_hSelMonth, TVE_COLLAPSE);
    m_hSelMonth = month;
    SystemLogMemoryClear();
    TypeTreeDefault();
    ClearMessage();
    if (m_hSelDay && m_treeMonth.GetParentItem(m_hSelDay) == month) m_hSelDay = nullptr;
    while (HTREEITEM child = m_treeMonth.GetChildItem(month)) m_treeMonth.DeleteItem(child);

    // A month item's label came from a month file's name; one that reads as no month opens none.
    const auto shown = ParseMonthLabel(m_treeMonth.GetItemText(month).str());
    if (!shown) return;
    const LogMonthLoad load = m_month.Load(m_szPath, *shown);
    if (load != LogMonthLoad::loaded && load != LogMonthLoad::cutShort) return;
    for (const LocalDay& day : m_month.Days()) {
        const HTREEITEM item = m_treeMonth.InsertItem(day.label.c_str(), host::kDayIcon, host::kDayIcon, month);
        m_treeMonth.SetItemData(item, day.midnight);
    }
    m_treeMonth.Expand(month, TVE_EXPAND);
}

void CLogViewer2::OnTreeMonthSelect(NMHDR* header, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem;
    if (!item) return;
    if (!m_treeMonth.GetParentItem(item)) MonthRootSelect(item);
    else if (item != m_hSelDay) SelectDay(item);
}

void CLogViewer2::SelectDay(HTREEITEM dayItem) {
    m_hSelDay = dayItem;
    TypeTreeDefault();
    // The pane showed a log of the day before: none of the new day's is chosen yet.
    ClearMessage();
    const LocalDay day = DayStartingAt(static_cast<DWORD>(m_treeMonth.GetItemData(dayItem)));
    const LogDayGroups groups = m_month.GroupDay(day);
    for (int g = 0; g < kLogTypeGroupCount; ++g) {
        if (!kLogTypeGroups[g].HoldsLogs()) continue;
        for (const int index : groups.logs[g]) {
            const DWORD handle = m_month.Logs()[index].header.handle;
            const HTREEITEM item =
                m_treeType.InsertItem(CTime(handle).Format("%H:%M:%S"), host::kDayIcon, host::kDayIcon, m_hGroup[g]);
            // A log is named by its place in the loaded month: two writers, or a host restarted
            // within a second, give two logs of a day one handle.
            m_treeType.SetItemData(item, static_cast<DWORD_PTR>(index) + 1);
        }
        CString label;
        label.Format("%s (%d)", m_treeType.GetItemText(m_hGroup[g]).c_str(), static_cast<int>(groups.logs[g].size()));
        m_treeType.SetItemText(m_hGroup[g], label);
    }
}

void CLogViewer2::TypeTreeDefault() {
    m_treeType.DeleteAllItems();
    for (int g = 0; g < kLogTypeGroupCount; ++g) {
        const LogTypeGroup& group = kLogTypeGroups[g];
        const HTREEITEM parent = group.parent == kNoParentGroup ? TVI_ROOT : m_hGroup[group.parent];
        m_hGroup[g] = m_treeType.InsertItem(m_szTypeLabel[group.label].c_str(), group.icon, group.icon, parent);
    }
    for (int g = 0; g < kLogTypeGroupCount; ++g)
        if (m_treeType.ItemHasChildren(m_hGroup[g])) m_treeType.Expand(m_hGroup[g], TVE_EXPAND);
}

void CLogViewer2::OnTreeTypeSelect(NMHDR* header, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem;
    if (!item) return;
    if (!m_treeType.GetParentItem(item)) TypeRootSelect(item);
    else TypeChildSelect(item);
}

void CLogViewer2::TypeChildSelect(HTREEITEM item) {
    ClearMessage();
    const auto place = m_treeType.GetItemData(item);
    if (place == 0) return;
    if (const _LOG_HEADER_MEMORY_* log = m_month.LogAt(place - 1))
        m_editMessage.SetWindowText(m_renderer.LogTextBlock(m_month, *log).c_str());
}

void CLogViewer2::DeleteAll() {
    if (DeleteFilesWithExtension(m_szPath, logfile::kExtension)) LoadLogData();
}

void CLogViewer2::SaveLogToText() {
    const bool monthWithDays = m_hSelMonth && m_treeMonth.GetChildItem(m_hSelMonth);
    if (!m_hSelDay && !monthWithDays) return;
    CFileDialog dialog(FALSE, nullptr, nullptr, kExportFlags, kExportFilter, this);
    if (dialog.DoModal() != IDOK) return;
    // Written beside the chosen file and renamed over it once whole, so a failed export leaves
    // a file the person chose to replace as it was, and a link there is replaced, not followed.
    // The text is written as its bytes stand: one CR LF per line.
    const std::string target = dialog.GetPathName().str();
    CFile file;
    PendingFile written;
    if (!CreateBeside(written, file, target)) return;
    try {
        m_renderer.MonthText(m_month, [&file](const std::string& piece) {
            file.Write(piece.data(), static_cast<UINT>(piece.size()));
        });
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        return;
    }
    written.PutInPlace();
}
