#pragma once
// The browser windows as the tool shows them: created on a folder and opened on the newest
// month's latest day with its first entry shown, by clicks as a person makes them, in a real
// window as in a snapshot.
#include <memory>
#include <string>

#include "platform/ui/CTreeCtrl.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/ViewRunner.h"

// Clicks the newest month, its latest day, then the first entry the entry tree lists under it.
void OpenLatestEntry(CTreeCtrl& months, CTreeCtrl& entries);

// A browser of class `Viewer` (with MonthTree() and an entry tree reached by `entryTree`) on
// `folder`, which `setFolder` gives it (Init, unless the browser names it otherwise).
template <typename Viewer>
ViewSpec BrowserViewSpec(const char* title, const std::string& folder, CTreeCtrl& (Viewer::*entryTree)(),
                         void (Viewer::*setFolder)(const char*) = &Viewer::Init) {
    RequireFolder(folder);
    return {title, 800, 560,
            [title, folder, setFolder](int width, int height) -> std::unique_ptr<CWnd> {
                auto viewer = std::make_unique<Viewer>();
                if (!viewer->CreateEx(0, nullptr, title, WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0))
                    return nullptr;
                ((*viewer).*setFolder)(folder.c_str());
                return viewer;
            },
            [entryTree](CWnd& window) {
                auto& viewer = static_cast<Viewer&>(window);
                OpenLatestEntry(viewer.MonthTree(), (viewer.*entryTree)());
            }};
}

// The log browsers and the event browser on a folder, for `dvrkit view` and the demo.
ViewSpec Log2ViewSpec(const std::string& folder);
ViewSpec EventViewSpec(const std::string& folder);
ViewSpec Log1ViewSpec(const std::string& folder);
