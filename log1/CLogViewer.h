#pragma once
// The first-generation log browser window. Its month tree lists the months that have a month file
// and, under the month the user opens, the days with entries; its type tree lists the five entry
// types and, once a day is chosen, that day's entries under their type by time of day, with
// counts; its text pane shows the chosen entry's six lines. The host can also delete what is
// selected (a month's file, a day, a type of a day, one entry), every month file
// of the folder, and reload.
//
// The data (month files, loading, days, memory operations, rewriting a month) come from
// CEntryMonthData; this class fills its controls from it and reacts to selections. The controls
// are placed from the window's size at creation and again at every resize. Everything runs on
// the window's thread.
#include <array>
#include <memory>
#include <string>

#include "log1/EntryMonthData.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CImageList.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CTreeCtrl.h"
#include "platform/ui/CWnd.h"

class CLogViewer : public CWnd {
public:
    static constexpr UINT kMonthTreeId = 1000, kTypeTreeId = 1001, kTextPaneId = 1002;

    CLogViewer() = default;
    ~CLogViewer() override;

    // Sets the folder of the month files and lists its months. A path that is empty or longer
    // than 126 characters is refused: nothing changes.
    void SetLoadPath(const char* path);
    // Acts on the selections: deletes the selected entry, the selected type of the selected day,
    // the selected day, or the selected month's file; see the .cpp for each case.
    void Delete();
    // Deletes every "*.log" file of the folder and empties both trees; nothing when the folder
    // has none or no folder is set.
    void DeleteAll();
    // Empties everything and lists the months again.
    void Reload();
    // Empties both trees, the pane and the loaded entries.
    void ClearMemory();
    // Empties the pane.
    void Clear();

    // The memory operations on the loaded month, for the host: counts and searches, removals
    // that touch neither the trees nor the file, and MemorySave, which takes what was removed
    // since the load out of the month file of `time` and leaves the rest of it as it is (1 when
    // done, 0 when the file could not be rewritten).
    int MemorySearchType(DWORD type) const { return m_data.MemorySearchType(type); }
    int MemorySearchTime(DWORD from, std::uint64_t to) const { return m_data.MemorySearchTime(from, to); }
    void MemoryDeleteTime(DWORD time) { m_data.MemoryDeleteTime(time); }
    void MemoryDeleteTime(DWORD from, std::uint64_t to) { m_data.MemoryDeleteTime(from, to); }
    void MemoryDeleteType(DWORD type) { m_data.MemoryDeleteType(type); }
    int MemorySave(DWORD time) { return m_data.MemorySave(time) ? 1 : 0; }

    // The data side's operations on the loaded month, for the host.
    CEntryMonthData& Data() { return m_data; }

    // What a person sees, for the host and the tests.
    CTreeCtrl& MonthTree() { return m_treeMonth; }
    CTreeCtrl& TypeTree() { return m_treeType; }
    CEdit& TextPane() { return m_editText; }

    static int SortTheArray(const void* a, const void* b);
    static int DaySortTheArray(const void* a, const void* b) { return DateSortArray(a, b); }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnMonthTreeSelect(NMHDR* header, LRESULT* result);
    void OnTypeTreeSelect(NMHDR* header, LRESULT* result);
    void CreateCtlLayout(int cx, int cy);
    // The trees and the pane share the new size as they shared the size at creation.
    LRESULT OnSize(WPARAM type, LPARAM size);
    void InitTreeCtl();
    void LogFileLoad();

private:
    void SelectMonth(HTREEITEM month);
    // Fills the type tree with the day's entries and counts.
    void ShowDay(HTREEITEM dayItem);
    LocalDay DayOfItem(HTREEITEM dayItem) const;
    // The type whose branch `item` is; nothing for an entry's item.
    std::optional<DWORD> TypeOfItem(HTREEITEM item) const;
    // After entries of a day were removed: the day's types shown again, or, when the day has
    // none left, its item gone (and its month's, when that was the last day).
    void AfterDayChange(HTREEITEM dayItem);
    void DeleteMonthItem(HTREEITEM month);
    void ShowMessage(UINT id);

    std::unique_ptr<CFont> m_pFont;
    std::unique_ptr<CImageList> m_pImageList;
    CTreeCtrl m_treeMonth;
    CTreeCtrl m_treeType;
    CEdit m_editText;
    std::string m_szLoadPath;  // ends with '/' once set
    CEntryMonthData m_data;
    HTREEITEM m_hLastExpanded = nullptr;
    std::array<HTREEITEM, entryfile::kTypeCount> m_hType = {};
};
