#include "log1/CLogViewer.h"

#include <algorithm>
#include <cstring>

#include "log1/EntryText.h"
#include "module/BrowserControls.h"
#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/CTime.h"
#include "platform/core/FileSystem.h"

namespace {

// This browser's own plan: both trees end 105 pixels above the bottom, the pane fills the rest
// with small margins, and every control is a tab stop.
constexpr DWORD kMonthTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_SHOWSELALWAYS;
constexpr DWORD kTypeTreeStyle = kMonthTreeStyle | TVS_HASBUTTONS | TVS_LINESATROOT;
constexpr DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE;
constexpr DWORD kPaneExStyle = WS_EX_CLIENTEDGE;
static_assert(kMonthTreeStyle == 0x50810022 && kTypeTreeStyle == 0x50810027);
static_assert(kPaneStyle == 0x50210004 && kPaneExStyle == 0x200);

constexpr int kMargin = 5, kTreeBottomGap = 105, kPaneTopGap = 100;
constexpr size_t kMaxPaneText = 511;

struct Layout {
    CRect monthTree, typeTree, pane;
};

// For a window of cx x cy: the trees split at 0.4 of the width.
Layout LayoutFor(int cx, int cy) {
    const int split = cx * 4 / 10;
    return {CRect(kMargin, kMargin, split, cy - kTreeBottomGap), CRect(split - 1, kMargin, cx - kMargin, cy - kTreeBottomGap),
            CRect(4, cy - kPaneTopGap, cx - 3, cy - kMargin)};
}

}  // namespace

const MessageMap* CLogViewer::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CLogViewer::OnCreate>(),
        msgmap::OnNotify<&CLogViewer::OnTypeTreeSelect>(TVN_SELCHANGED, kTypeTreeId),
        msgmap::OnNotify<&CLogViewer::OnMonthTreeSelect>(TVN_SELCHANGED, kMonthTreeId),
        msgmap::OnDestroy<&CLogViewer::OnDestroy>(),
        msgmap::OnMessage<&CLogViewer::OnSize>(WM_SIZE),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

CLogViewer::~CLogViewer() { DestroyWindow(); }

int CLogViewer::SortTheArray(const void* a, const void* b) {
    const int order = std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
    return order > 0 ? -1 : order < 0 ? 1 : 0;
}

int CLogViewer::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    CreateCtlLayout(cs->cx, cs->cy);
    InitTreeCtl();
    return 0;
}

void CLogViewer::CreateCtlLayout(int cx, int cy) {
    m_pFont = browser::DefaultGuiFont();
    const Layout layout = LayoutFor(cx, cy);
    m_treeMonth.CreateEx(0, "SysTreeView32", nullptr, kMonthTreeStyle, layout.monthTree, this, kMonthTreeId);
    m_treeType.CreateEx(0, "SysTreeView32", nullptr, kTypeTreeStyle, layout.typeTree, this, kTypeTreeId);
    m_editText.CreateEx(kPaneExStyle, "Edit", nullptr, kPaneStyle, layout.pane, this, kTextPaneId);
    for (CWnd* control : {static_cast<CWnd*>(&m_treeMonth), static_cast<CWnd*>(&m_treeType),
                          static_cast<CWnd*>(&m_editText)})
        control->SetFont(m_pFont.get(), TRUE);
    m_pImageList = browser::HostIcons(ILC_COLORDDB);
    m_treeMonth.SetImageList(m_pImageList.get(), TVSIL_NORMAL);
    m_treeType.SetImageList(m_pImageList.get(), TVSIL_NORMAL);
}

// WM_SIZE gives the client size; the layout comes from the window's size, as at creation.
LRESULT CLogViewer::OnSize(WPARAM, LPARAM) {
    const CRect window = GetRectInParent();
    const Layout layout = LayoutFor(window.Width(), window.Height());
    m_treeMonth.MoveWindow(layout.monthTree);
    m_treeType.MoveWindow(layout.typeTree);
    m_editText.MoveWindow(layout.pane);
    return 0;
}

void CLogViewer::InitTreeCtl() {
    m_treeMonth.DeleteAllItems();
    m_treeType.DeleteAllItems();
    m_hLastExpanded = nullptr;
    for (DWORD type = 0; type < entryfile::kTypeCount; ++type) {
        const int icon = host::kFirstTypeGroupIcon + static_cast<int>(type);
        m_hType[type] = m_treeType.InsertItem(EntryTypeLabel(type).c_str(), icon, icon);
    }
}

void CLogViewer::OnDestroy() {
    browser::CloseControls({&m_treeMonth, &m_treeType, &m_editText});
    m_pFont.reset();
    CWnd::OnDestroy();
}

void CLogViewer::ShowMessage(UINT id) {
    m_editText.SetWindowText(HostText(id).c_str());
}

void CLogViewer::Clear() {
    if (m_editText.GetSafeHwnd()) m_editText.SetWindowText("");
}

void CLogViewer::ClearMemory() {
    if (m_treeMonth.GetSafeHwnd()) m_treeMonth.DeleteAllItems();
    if (m_treeType.GetSafeHwnd()) m_treeType.DeleteAllItems();
    m_hLastExpanded = nullptr;
    m_hType = {};
    Clear();
    m_data.Clear();
}

void CLogViewer::SetLoadPath(const char* path) {
    const size_t length = path ? std::strlen(path) : 0;
    if (length == 0 || length > entryfile::kMaxLoadPath) return;
    m_szLoadPath = path;
    if (m_szLoadPath.back() != '/') m_szLoadPath += '/';
    // The data side names files as FOLDER/NAME; the root stays "/".
    m_data.SetFolder(m_szLoadPath.size() > 1 ? m_szLoadPath.substr(0, m_szLoadPath.size() - 1) : m_szLoadPath);
    LogFileLoad();
}

void CLogViewer::LogFileLoad() {
    if (m_szLoadPath.empty()) return;
    const std::vector<MonthFileEntry> months = m_data.Months();
    if (months.empty()) return ShowMessage(host::kNoLogFileMessage);
    m_treeMonth.DeleteAllItems();
    m_hLastExpanded = nullptr;
    for (const MonthFileEntry& month : months)
        m_treeMonth.InsertItem(month.label.c_str(), host::kMonthIcon, host::kMonthIcon);
}

void CLogViewer::Reload() {
    ClearMemory();
    InitTreeCtl();
    LogFileLoad();
}

void CLogViewer::DeleteAll() {
    if (!DeleteFilesWithExtension(m_data.Folder(), entryfile::kExtension)) return;
    ClearMemory();
    InitTreeCtl();
}

void CLogViewer::OnMonthTreeSelect(NMHDR* header, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem;
    if (!item) return;
    if (m_treeMonth.GetParentItem(item)) ShowDay(item);
    else SelectMonth(item);
}

void CLogViewer::SelectMonth(HTREEITEM month) {
    if (m_hLastExpanded && m_hLastExpanded != month) m_treeMonth.Expand(m_hLastExpanded, TVE_COLLAPSE);
    m_hLastExpanded = month;
    m_treeType.DeleteAllItems();
    m_hType = {};
    while (HTREEITEM child = m_treeMonth.GetChildItem(month)) m_treeMonth.DeleteItem(child);

    const auto shown = ParseMonthLabel(m_treeMonth.GetItemText(month).str());
    const EntryMonthLoad load = shown ? m_data.Load(*shown) : EntryMonthLoad::notOpened;
    if (load == EntryMonthLoad::notOpened) return ShowMessage(host::kCannotOpenMessage);
    // A torn tail is reported, and the whole entries before it are still listed.
    if (load == EntryMonthLoad::badLength) ShowMessage(host::kBadLengthMessage);
    else Clear();
    for (const LocalDay& day : m_data.Days()) {
        const HTREEITEM item = m_treeMonth.InsertItem(day.label.c_str(), host::kDayIcon, host::kDayIcon, month);
        m_treeMonth.SetItemData(item, day.midnight);
    }
    m_treeMonth.Expand(month, TVE_EXPAND);
}

LocalDay CLogViewer::DayOfItem(HTREEITEM dayItem) const {
    return DayStartingAt(static_cast<DWORD>(m_treeMonth.GetItemData(dayItem)));
}

void CLogViewer::ShowDay(HTREEITEM dayItem) {
    m_treeType.DeleteAllItems();
    const EntryDayTypes types = m_data.TypesOfDay(DayOfItem(dayItem));
    for (DWORD type = 0; type < entryfile::kTypeCount; ++type) {
        const int icon = host::kFirstTypeGroupIcon + static_cast<int>(type);
        m_hType[type] = m_treeType.InsertItem(CountedTypeLabel(type, types[type].size()).c_str(), icon, icon);
        for (const int index : types[type]) {
            const CLogRecordItem& entry = m_data.Entries()[index];
            const HTREEITEM item = m_treeType.InsertItem(CTime(entry.time).Format("%H:%M:%S"), host::kDayIcon,
                                                         host::kDayIcon, m_hType[type]);
            // The item names its own entry: entries of one second, or of an hour that repeats
            // when clocks go back, show the same text.
            m_treeType.SetItemData(item, entry.serial);
        }
    }
}

void CLogViewer::OnTypeTreeSelect(NMHDR* header, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem;
    if (!item || !m_treeType.GetParentItem(item)) return Clear();
    const CLogRecordItem* shown = m_data.Find(static_cast<DWORD>(m_treeType.GetItemData(item)));
    if (!shown) return Clear();
    m_editText.SetWindowText(std::string(FitText(EntryPaneText(*shown), kMaxPaneText)).c_str());
}

std::optional<DWORD> CLogViewer::TypeOfItem(HTREEITEM item) const {
    const auto found = std::find(m_hType.begin(), m_hType.end(), item);
    if (!item || found == m_hType.end()) return std::nullopt;
    return static_cast<DWORD>(found - m_hType.begin());
}

// What Delete does for each selection:
//   - an entry: that entry goes, and the month file is rewritten without it;
//   - a type under a chosen day: that day's entries of the type go, and the file is rewritten;
//   - a day, with nothing chosen in the type tree: the day's entries go, the file is rewritten;
//   - a month, with nothing chosen in the type tree: its file is deleted (the item stays if
//     that fails).
// A day left without entries loses its item, and a month left without days loses its item; a
// month file left with nothing is deleted by the rewrite. A rewrite takes out only what was
// deleted: what writers added or completed since the month was loaded stays.
void CLogViewer::Delete() {
    const HTREEITEM chosen = m_treeMonth.GetSelectedItem();
    if (!chosen) return;
    const HTREEITEM month = m_treeMonth.GetParentItem(chosen);
    const HTREEITEM typeItem = m_treeType.GetSelectedItem();
    if (!month) {
        if (typeItem) return;
        const auto label = ParseMonthLabel(m_treeMonth.GetItemText(chosen).str());
        if (label && DeleteFileA(m_data.MonthPath(*label).c_str())) DeleteMonthItem(chosen);
        m_treeMonth.SetFocus();
        return;
    }
    const LocalDay day = DayOfItem(chosen);
    if (!typeItem) {
        m_data.DeleteDay(day);
    } else if (const auto type = TypeOfItem(typeItem)) {
        m_data.DeleteDay(day, *type);
    } else {
        m_data.DeleteEntry(static_cast<DWORD>(m_treeType.GetItemData(typeItem)));
    }
    AfterDayChange(chosen);
}

void CLogViewer::AfterDayChange(HTREEITEM dayItem) {
    const LocalDay day = DayOfItem(dayItem);
    if (m_data.MemorySearchTime(day.midnight, day.end)) {
        ShowDay(dayItem);
        Clear();
        m_treeType.SetFocus();
        return;
    }
    const HTREEITEM month = m_treeMonth.GetParentItem(dayItem);
    m_treeMonth.DeleteItem(dayItem);
    if (!m_treeMonth.GetChildItem(month)) DeleteMonthItem(month);
    m_treeType.DeleteAllItems();
    m_hType = {};
    Clear();
    m_treeMonth.SetFocus();
}

void CLogViewer::DeleteMonthItem(HTREEITEM month) {
    if (month == m_hLastExpanded) m_hLastExpanded = nullptr;
    m_treeMonth.DeleteItem(month);
}
