#pragma once
// Drives windows on a headless desktop the way a person does, and reads back what the person
// would see: tree items by their labels, pane texts, where a control is. Every click and key
// takes the desktop's input path. A step that cannot be taken (no such item, no focus) is a
// test failure that names it.
//
// The driver answers the modal windows that open while it lives, from a queue of answers.
#include <deque>
#include <string>
#include <vector>

#include "platform/backends/HeadlessBackend.h"
#include "platform/ui/CTreeCtrl.h"

// Labels from a tree's root down to one item, e.g. {"2005-04", "03"}.
using LabelPath = std::vector<std::string>;

// How a label is matched: its whole text, or its start ("System" finds "System (2)").
enum class LabelMatch { exact, start };

class WindowDriver {
public:
    // Takes over the backend's modal windows until destroyed.
    explicit WindowDriver(HeadlessBackend& backend);
    ~WindowDriver();
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    // --- trees
    // The item at the end of `path`, or nullptr (no failure: a test may expect it gone).
    static HTREEITEM FindItem(CTreeCtrl& tree, const LabelPath& path, LabelMatch match = LabelMatch::exact);
    // The labels of the children of the item at `parent` (of the roots when it is empty).
    static std::vector<std::string> ChildLabels(CTreeCtrl& tree, const LabelPath& parent = {},
                                                LabelMatch match = LabelMatch::exact);
    // Clicks an item's label as a person does, opening its parents and scrolling to it first.
    void ClickItem(CTreeCtrl& tree, HTREEITEM item);
    // The same for the item at `path`; returns it (nullptr when it is not there).
    HTREEITEM ClickItem(CTreeCtrl& tree, const LabelPath& path, LabelMatch match = LabelMatch::exact);

    // --- other controls
    // Clicks the middle of a window's client area, as a person presses a button.
    void Click(CWnd& wnd);
    // Clicks into a field and types `text` there.
    void TypeInto(CWnd& field, const std::string& text);
    // Presses keys, one after another, to the window with the focus.
    void Press(std::initializer_list<UINT> keys);
    // What a window shows as its text (a pane's whole text, a label's caption).
    static std::string Text(const CWnd& wnd);
    // Where a control is on the desktop: its whole window (frame and edges included), or its
    // client area only. CWnd::GetRectInParent gives its place in its parent's client area.
    static CRect WindowRectOnDesktop(const CWnd& wnd);
    static CRect ClientRectOnDesktop(const CWnd& wnd) { return CDesktop::ClientRectOnDesktop(wnd); }

    // --- modal windows
    // Queues the answer to the next modal window not yet answered: called with the window
    // once it shows. A modal window with no answer left is left open, and ends as cancelled.
    void QueueModalAnswer(HeadlessBackend::ModalAnswer answer);
    // Queues a person's answer to a file dialog: `path` typed into its name field, then Enter;
    // with `replace`, Enter once more, which confirms replacing an existing file.
    void QueueFileDialogAnswer(const std::string& path, bool replace = false);
    size_t QueuedAnswers() const { return m_answers.size(); }

private:
    HeadlessBackend& m_backend;
    std::deque<HeadlessBackend::ModalAnswer> m_answers;
};
