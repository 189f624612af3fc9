#include "tools/dvrkit/Log1BrowserHost.h"

#include "module/FixedText.h"
#include "platform/ui/CMessageBox.h"

const MessageMap* CLog1BrowserHost::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnNotify<&CLog1BrowserHost::OnTreeKey>(TVN_KEYDOWN, kMonthTreeId),
        msgmap::OnNotify<&CLog1BrowserHost::OnTreeKey>(TVN_KEYDOWN, kTypeTreeId),
    };
    static const MessageMap map{CLogViewer::ThisMessageMap(), entries};
    return &map;
}

void CLog1BrowserHost::OnTreeKey(NMHDR* header, LRESULT* result) {
    *result = 0;
    if (reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey != VK_DELETE) return;
    const std::string question = DeleteQuestion();
    if (!question.empty() && AfxMessageBox(question.c_str(), MB_YESNO) == IDYES) Delete();
}

// Follows Delete's cases: an entry, a type of the chosen day, the day, or a month's file.
std::string CLog1BrowserHost::DeleteQuestion() {
    CTreeCtrl& months = MonthTree();
    CTreeCtrl& types = TypeTree();
    const HTREEITEM chosen = months.GetSelectedItem();
    if (!chosen) return "";
    const HTREEITEM month = months.GetParentItem(chosen);
    const HTREEITEM typeItem = types.GetSelectedItem();
    if (!month) return typeItem ? "" : "Delete the month " + months.GetItemText(chosen).str() + " and its log file?";
    const std::string day = months.GetItemText(month).str() + "-" + months.GetItemText(chosen).str();
    if (!typeItem) return "Delete every entry of " + day + "?";
    const HTREEITEM branch = types.GetParentItem(typeItem);
    if (!branch) return "Delete every entry under " + types.GetItemText(typeItem).str() + " of " + day + "?";
    const CLogRecordItem* entry = Data().Find(static_cast<DWORD>(types.GetItemData(typeItem)));
    const std::string name = entry ? " \"" + std::string(ReadFixedText(entry->name)) + "\"" : "";
    return "Delete the entry" + name + " of " + day + " " + types.GetItemText(typeItem).str() + " under " +
           types.GetItemText(branch).str() + "?";
}
