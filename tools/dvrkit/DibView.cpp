#include "tools/dvrkit/DibView.h"

#include <algorithm>

#include "platform/gdi/ColorRef.h"
#include "platform/ui/CPaintDC.h"
#include "tools/dvrkit/Commands.h"

namespace {

constexpr int kMaxWidth = 1024, kMaxHeight = 768;
constexpr int kMinWidth = 160, kMinHeight = 120;
constexpr COLORREF kBackground = RGB(128, 128, 128);

// The image's size scaled down to fit the largest window, keeping its shape.
CSize Fitted(CSize image) {
    const double scale = std::min({1.0, double(kMaxWidth) / image.cx, double(kMaxHeight) / image.cy});
    return CSize(std::max(1, int(image.cx * scale)), std::max(1, int(image.cy * scale)));
}

// The bitmap on a grey ground, painted by the bitmap class itself.
class DibWindow : public CWnd {
public:
    explicit DibWindow(std::shared_ptr<CDib> dib) : m_dib(std::move(dib)) {}

    static const MessageMap* ThisMessageMap() {
        static constexpr MessageMapEntry entries[] = {msgmap::OnPaint<&DibWindow::OnPaint>()};
        static const MessageMap map{CWnd::ThisMessageMap(), entries};
        return &map;
    }
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    void OnPaint() {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(client, kBackground);
        m_dib->Paint(&dc, CPoint(0, 0), Fitted(m_dib->GetExtent()));
    }

private:
    std::shared_ptr<CDib> m_dib;
};

}  // namespace

void ReadBitmapFile(CDib& dib, const std::string& path) {
    CFile file;
    CFileException error(CFileException::none, 0, path, "open");
    if (!file.Open(path.c_str(), CFile::modeRead, &error)) throw CommandError{error.what()};
    if (!dib.Read(&file)) throw CommandError{path + ": " + dib.LastFailure()};
}

ViewSpec DibViewSpec(const std::string& path) {
    auto dib = std::make_shared<CDib>();
    ReadBitmapFile(*dib, path);
    const CSize size = Fitted(dib->GetExtent());
    return {"dvrkit bitmap", std::max(size.cx, kMinWidth), std::max(size.cy, kMinHeight),
            [dib](int width, int height) -> std::unique_ptr<CWnd> {
                auto window = std::make_unique<DibWindow>(dib);
                if (!window->CreateEx(0, nullptr, "dvrkit bitmap", WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0))
                    return nullptr;
                return window;
            },
            nullptr};
}
