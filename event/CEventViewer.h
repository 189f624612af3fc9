#pragma once
// The event browser window. Its left tree lists the months that have an event file and, under the
// month the user opens, the days with events; its right tree lists the chosen day's events under
// their source group and channel, with counts; its text pane describes the chosen event. The data
// (month files, loading, days, groups, texts) come from CEventMonthData and the event texts; this
// class only fills its controls from them and reacts to selections.
//
// The host creates the window as a child of one of its own (CreateEx) and then calls Init with
// the folder it gives the event writer. Everything runs on the window's thread.
#include <array>
#include <memory>
#include <string>

#include "event/EventMonthData.h"
#include "module/BrowserControls.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CImageList.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CTreeCtrl.h"
#include "platform/ui/CWnd.h"

class CEventViewer : public CWnd {
public:
    static constexpr UINT kMonthTreeId = 1004, kEventTreeId = 1005, kMessageId = 1006;

    CEventViewer() = default;
    ~CEventViewer() override;

    // Sets the event folder and lists its months.
    void Init(const char* path);
    void LoadEventData();
    void Reload() { LoadEventData(); }
    // Deletes every "*.evt" file of the folder, then lists the months again; nothing before a
    // folder is set.
    void DeleteAll();

    void MonthRootSelect(HTREEITEM month);
    void EventTreeDefault();
    void SetServerMessage(_EVENT_LOG_ event);
    void SetClientMessage(_EVENT_LOG_ event);

    static int DateSortArray(const void* a, const void* b) { return ::DateSortArray(a, b); }
    static int FileSortArray(const void* a, const void* b) { return ::FileSortArray(a, b); }

    // What a person sees, for the host and the tests.
    CTreeCtrl& MonthTree() { return m_treeMonth; }
    CTreeCtrl& EventTree() { return m_treeEvent; }
    CEdit& MessagePane() { return m_editMessage; }
    const CEventMonthData& LoadedMonth() const { return m_month; }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    // The trees and the pane share the new size as they shared the size at creation.
    LRESULT OnSize(WPARAM type, LPARAM size);
    void OnTreeMonthSelect(NMHDR* header, LRESULT* result);
    void OnTreeEventSelect(NMHDR* header, LRESULT* result);
    void CreateControl();

private:
    browser::Controls ControlSet();
    void SelectDay(HTREEITEM day);
    // The group's item, inserted when the group is not in the default tree.
    HTREEITEM GroupItem(int group);
    // The channel's item under its group's item, inserted when the default tree has none.
    HTREEITEM ChannelItem(int group, DWORD channel);
    void ShowCounts(const EventDayGroups& groups);

    std::unique_ptr<CFont> m_pFont;
    std::unique_ptr<CImageList> m_pImageList;
    CTreeCtrl m_treeMonth;
    CTreeCtrl m_treeEvent;
    CEdit m_editMessage;
    std::string m_szPath;
    CEventMonthData m_month;
    HTREEITEM m_hSelMonth = nullptr;
    HTREEITEM m_hSelDay = nullptr;
    std::array<HTREEITEM, kEventGroupCount> m_hEventGroup = {};
    // The default groups' standard channel items, channel c at [group][c - 1].
    std::array<std::array<HTREEITEM, kLastChannel>, kEventGroupCount> m_hChannel = {};
};
