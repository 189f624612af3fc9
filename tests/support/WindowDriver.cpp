#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include "platform/ui/CFileDialog.h"

namespace {

bool Matches(const CString& label, const std::string& wanted, LabelMatch match) {
    const std::string text = label.str();
    return match == LabelMatch::exact ? text == wanted : text.rfind(wanted, 0) == 0;
}

std::string Describe(const LabelPath& path) {
    std::string text;
    for (const std::string& label : path) text += (text.empty() ? "" : " / ") + label;
    return "\"" + text + "\"";
}

}  // namespace

WindowDriver::WindowDriver(HeadlessBackend& backend) : m_backend(backend) {
    m_backend.SetModalAnswer([this](CWnd& window) {
        if (m_answers.empty()) return;
        const HeadlessBackend::ModalAnswer answer = std::move(m_answers.front());
        m_answers.pop_front();
        answer(window);
    });
}

WindowDriver::~WindowDriver() { m_backend.SetModalAnswer(nullptr); }

HTREEITEM WindowDriver::FindItem(CTreeCtrl& tree, const LabelPath& path, LabelMatch match) {
    HTREEITEM parent = TVI_ROOT;
    for (const std::string& wanted : path) {
        HTREEITEM item = tree.GetChildItem(parent);
        while (item && !Matches(tree.GetItemText(item), wanted, match)) item = tree.GetNextSiblingItem(item);
        if (!item) return nullptr;
        parent = item;
    }
    return parent == TVI_ROOT ? nullptr : parent;
}

std::vector<std::string> WindowDriver::ChildLabels(CTreeCtrl& tree, const LabelPath& parent, LabelMatch match) {
    const HTREEITEM from = parent.empty() ? TVI_ROOT : FindItem(tree, parent, match);
    std::vector<std::string> labels;
    if (!from) {
        ADD_FAILURE() << "no tree item " << Describe(parent);
        return labels;
    }
    for (HTREEITEM item = tree.GetChildItem(from); item; item = tree.GetNextSiblingItem(item))
        labels.push_back(tree.GetItemText(item).str());
    return labels;
}

void WindowDriver::ClickItem(CTreeCtrl& tree, HTREEITEM item) {
    EXPECT_TRUE(m_backend.ClickTreeItem(tree, item)) << "the item is not in the tree";
}

HTREEITEM WindowDriver::ClickItem(CTreeCtrl& tree, const LabelPath& path, LabelMatch match) {
    const HTREEITEM item = FindItem(tree, path, match);
    if (!item) {
        ADD_FAILURE() << "no tree item " << Describe(path) << " to click";
        return nullptr;
    }
    ClickItem(tree, item);
    return item;
}

void WindowDriver::Click(CWnd& wnd) {
    CRect client;
    wnd.GetClientRect(&client);
    m_backend.ClickClient(wnd, client.CenterPoint());
}

void WindowDriver::TypeInto(CWnd& field, const std::string& text) {
    Click(field);
    m_backend.Type(text);
}

void WindowDriver::Press(std::initializer_list<UINT> keys) {
    for (UINT key : keys) {
        if (!CWnd::GetFocus()) {
            ADD_FAILURE() << "no window has the focus for key " << key;
            return;
        }
        m_backend.Key(key);
    }
}

std::string WindowDriver::Text(const CWnd& wnd) { return wnd.GetWindowTextString().str(); }

CRect WindowDriver::WindowRectOnDesktop(const CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

void WindowDriver::QueueModalAnswer(HeadlessBackend::ModalAnswer answer) { m_answers.push_back(std::move(answer)); }

void WindowDriver::QueueFileDialogAnswer(const std::string& path, bool replace) {
    QueueModalAnswer([this, path, replace](CWnd& dialog) {
        TypeInto(*dialog.GetDlgItem(CFileDialog::kFileNameField), path);
        Press({VK_RETURN});
        if (replace) Press({VK_RETURN});
    });
}
