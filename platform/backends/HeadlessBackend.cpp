#include "platform/backends/HeadlessBackend.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/PngWriter.h"
#include "platform/ui/CMessageBox.h"
#include "platform/ui/PersonInput.h"

HeadlessBackend::HeadlessBackend(int width, int height) : m_desktop(CDesktop::Get()) {
    m_desktop.Resize(width, height);
    m_desktop.SetModalDriver([this](CWnd& window, const bool& ended) {
        Render();
        auto* box = dynamic_cast<CMessageBox*>(&window);
        if (box) m_messages.push_back(box->GetText().str());
        if (box && !box->AsksQuestion()) {
            box->Answer(IDOK);
        } else if (m_answer && !ended) {
            m_answer(window);
        }
    });
}

HeadlessBackend::~HeadlessBackend() { m_desktop.SetModalDriver(nullptr); }

const CSurface& HeadlessBackend::Render() {
    m_desktop.Update();
    return m_desktop.Surface();
}

COLORREF HeadlessBackend::PixelAt(int x, int y) {
    const CSurface& s = Render();
    return s.Contains(x, y) ? ColorFromPixel(s.At(x, y)) : CLR_INVALID;
}

void HeadlessBackend::SaveSnapshot(const std::string& path) { SaveSurfacePng(Render(), path); }

void HeadlessBackend::Click(CPoint at) { ClickAt(at); }

void HeadlessBackend::ClickClient(CWnd& wnd, CPoint at) { ::ClickClient(wnd, at); }

BOOL HeadlessBackend::ClickTreeItem(CTreeCtrl& tree, HTREEITEM item) { return ::ClickTreeItem(tree, item); }

void HeadlessBackend::Type(const std::string& text) {
    for (char c : text) m_desktop.Char(c);
}
