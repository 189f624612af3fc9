#include "event/CEventViewer.h"

#include "event/EventText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/CTime.h"

namespace {

// A folder text this short names no event folder (an unset one included).
constexpr size_t kShortestFolder = 3;

}  // namespace

const MessageMap* CEventViewer::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CEventViewer::OnCreate>(),
        msgmap::OnDestroy<&CEventViewer::OnDestroy>(),
        msgmap::OnMessage<&CEventViewer::OnSize>(WM_SIZE),
        msgmap::OnNotify<&CEventViewer::OnTreeMonthSelect>(TVN_SELCHANGED, kMonthTreeId),
        msgmap::OnNotify<&CEventViewer::OnTreeEventSelect>(TVN_SELCHANGED, kEventTreeId),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

CEventViewer::~CEventViewer() { DestroyWindow(); }

int CEventViewer::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    CreateControl();
    return 0;
}

void CEventViewer::CreateControl() {
    m_pFont = browser::DefaultGuiFont();
    m_pImageList = browser::HostIcons(ILC_COLOR24);
    browser::CreateTwoTreeControls(*this, ControlSet(), *m_pFont, *m_pImageList);
}

browser::Controls CEventViewer::ControlSet() {
    return {m_treeMonth, kMonthTreeId, m_treeEvent, kEventTreeId, m_editMessage, kMessageId};
}

LRESULT CEventViewer::OnSize(WPARAM, LPARAM) {
    browser::PlaceTwoTreeControls(*this, ControlSet());
    return 0;
}

void CEventViewer::OnDestroy() {
    m_month.Clear();
    m_pFont.reset();
    m_pImageList.reset();
    if (m_treeMonth.GetSafeHwnd()) m_treeMonth.DeleteAllItems();
    if (m_treeEvent.GetSafeHwnd()) m_treeEvent.DeleteAllItems();
    browser::CloseControls({&m_treeMonth, &m_treeEvent, &m_editMessage});
    CWnd::OnDestroy();
}

void CEventViewer::Init(const char* path) {
    m_szPath = path ? path : "";
    LoadEventData();
}

void CEventViewer::LoadEventData() {
    if (m_szPath.size() < kShortestFolder) return;
    m_treeMonth.DeleteAllItems();
    m_treeEvent.DeleteAllItems();
    m_editMessage.SetWindowText("");
    m_month.Clear();
    // Nothing the remembered items named is left in the trees.
    m_hSelMonth = m_hSelDay = nullptr;
    for (const MonthFileEntry& month : FindMonthFiles(m_szPath, eventfile::kExtension))
        m_treeMonth.InsertItem(month.label.c_str(), host::kMonthIcon, host::kMonthIcon);
    EventTreeDefault();
}

void CEventViewer::EventTreeDefault() {
    m_treeEvent.DeleteAllItems();
    m_hEventGroup = {};
    m_hChannel = {};
    for (int g = 0; g < kEventGroupCount; ++g) {
        if (!kEventGroups[g].inDefaultTree) continue;
        GroupItem(g);
        for (DWORD c = kFirstChannel; c <= kLastChannel; ++c)
            m_hChannel[g][c - kFirstChannel] = m_treeEvent.InsertItem(ChannelLabel(c).c_str(), host::kChannelIcon,
                                                                      host::kChannelIcon, m_hEventGroup[g]);
    }
}

HTREEITEM CEventViewer::GroupItem(int group) {
    if (!m_hEventGroup[group]) {
        const int icon = kEventGroups[group].icon;
        m_hEventGroup[group] = m_treeEvent.InsertItem(HostText(kEventGroups[group].label).c_str(), icon, icon);
    }
    return m_hEventGroup[group];
}

HTREEITEM CEventViewer::ChannelItem(int group, DWORD channel) {
    if (channel >= kFirstChannel && channel <= kLastChannel && m_hChannel[group][channel - kFirstChannel])
        return m_hChannel[group][channel - kFirstChannel];
    return m_treeEvent.InsertItem(ChannelLabel(channel).c_str(), host::kChannelIcon, host::kChannelIcon, GroupItem(group));
}

void CEventViewer::MonthRootSelect(HTREEITEM month) {
    if (month == m_hSelMonth) return;
    if (m_hSelMonth) m_treeMonth.Expand(m_hSelMonth, TVE_COLLAPSE);
    m_hSelMonth = month;
    m_month.Clear();
    m_treeEvent.DeleteAllItems();
    m_editMessage.SetWindowText("");
    if (m_hSelDay && m_treeMonth.GetParentItem(m_hSelDay) == month) m_hSelDay = nullptr;
    while (HTREEITEM child = m_treeMonth.GetChildItem(month)) m_treeMonth.DeleteItem(child);

    const auto shown = ParseMonthLabel(m_treeMonth.GetItemText(month).str());
    // A partial record at the end of the file hides nothing: the whole records before it show.
    if (!shown || m_month.Load(m_szPath, *shown) == EventMonthLoad::notOpened) return;
    for (const LocalDay& day : m_month.Days()) {
        const HTREEITEM item = m_treeMonth.InsertItem(day.label.c_str(), host::kDayIcon, host::kDayIcon, month);
        m_treeMonth.SetItemData(item, day.midnight);
    }
    m_treeMonth.Expand(month, TVE_EXPAND);
    EventTreeDefault();
}

void CEventViewer::OnTreeMonthSelect(NMHDR* header, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem;
    if (!item) return;
    if (!m_treeMonth.GetParentItem(item)) MonthRootSelect(item);
    else if (item != m_hSelDay) SelectDay(item);
}

void CEventViewer::SelectDay(HTREEITEM dayItem) {
    m_hSelDay = dayItem;
    EventTreeDefault();
    // The pane showed an event of the day before: none of the new day's is chosen yet.
    m_editMessage.SetWindowText("");
    const LocalDay day = DayStartingAt(static_cast<DWORD>(m_treeMonth.GetItemData(dayItem)));
    const EventDayGroups groups = m_month.GroupDay(day);
    for (int g = 0; g < kEventGroupCount; ++g) {
        for (const EventChannel& channel : groups.channels[g]) {
            const HTREEITEM parent = ChannelItem(g, channel.channel);
            m_treeEvent.SetItemText(parent, CountedLabel(ChannelLabel(channel.channel), channel.events.size()).c_str());
            for (const int index : channel.events) {
                const HTREEITEM item = m_treeEvent.InsertItem(CTime(m_month.Events()[index].time).Format("%H:%M:%S"),
                                                              host::kDayIcon, host::kDayIcon, parent);
                // The item names its event by place, so events of one second stay apart.
                m_treeEvent.SetItemData(item, static_cast<DWORD_PTR>(index) + 1);
            }
        }
    }
    ShowCounts(groups);
}

void CEventViewer::ShowCounts(const EventDayGroups& groups) {
    for (int g = 0; g < kEventGroupCount; ++g) {
        const HTREEITEM group = m_hEventGroup[g];
        if (!group) continue;
        // Only the channels with events of the day stay.
        for (HTREEITEM channel = m_treeEvent.GetChildItem(group); channel;) {
            const HTREEITEM next = m_treeEvent.GetNextSiblingItem(channel);
            if (!m_treeEvent.ItemHasChildren(channel)) m_treeEvent.DeleteItem(channel);
            channel = next;
        }
        m_treeEvent.SetItemText(group, CountedLabel(m_treeEvent.GetItemText(group).str(), groups.Count(g)).c_str());
    }
}

void CEventViewer::OnTreeEventSelect(NMHDR* header, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem;
    const auto place = item ? static_cast<std::uint64_t>(m_treeEvent.GetItemData(item)) : 0;
    if (place == 0 || place > static_cast<std::uint64_t>(m_month.Events().GetSize())) {
        m_editMessage.SetWindowText("");
        return;
    }
    const _EVENT_LOG_& event = m_month.Events()[static_cast<int>(place - 1)];
    if (event.side == kSideServer) SetServerMessage(event);
    else if (event.side == kSideClient) SetClientMessage(event);
    else m_editMessage.SetWindowText("");
}

void CEventViewer::SetServerMessage(_EVENT_LOG_ event) { m_editMessage.SetWindowText(ServerMessageText(event).c_str()); }

void CEventViewer::SetClientMessage(_EVENT_LOG_ event) { m_editMessage.SetWindowText(ClientMessageText(event).c_str()); }

void CEventViewer::DeleteAll() {
    if (DeleteFilesWithExtension(m_szPath, eventfile::kExtension)) LoadEventData();
}
