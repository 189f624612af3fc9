// dvrkit view controls: the controls as the browsers use them, opened with an item selected.
#include "tools/dvrkit/ControlsView.h"
#include "tools/dvrkit/ViewEntry.h"

namespace {

ViewSpec ControlsSpec() {
    return {"dvrkit controls", 640, 400,
            [](int width, int height) -> std::unique_ptr<CWnd> {
                auto view = std::make_unique<ControlsView>();
                if (!view->CreateView(width, height)) return nullptr;
                return view;
            },
            [](CWnd& window) {
                // Show a selection, as a user's click makes it.
                CTreeCtrl& tree = static_cast<ControlsView&>(window).Tree();
                tree.SetFocus();
                tree.SelectItem(tree.GetChildItem(tree.GetRootItem()));
            }};
}

const ViewEntries::Add registration(
    10, {"controls", "A window with a tree, a text pane, owner-drawn buttons and labels", nullptr, ControlsSpec});

}  // namespace
