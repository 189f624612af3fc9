#include "platform/ui/CMessageBox.h"

#include <algorithm>

#include "platform/ui/CButton.h"
#include "platform/ui/CDesktop.h"
#include "platform/ui/CStatic.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 110;
constexpr int kButtonWidth = 75;

}  // namespace

const MessageMap* CMessageBox::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CMessageBox::OnCreate>(),
        msgmap::OnCommand<&CMessageBox::OnOK>(BN_CLICKED, IDOK),
        msgmap::OnClose<&CMessageBox::OnClose>(),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

int CMessageBox::DoModal() {
    CDesktop& desktop = CDesktop::Get();
    const int x = std::max(0, (desktop.Width() - kWidth) / 2);
    const int y = std::max(0, (desktop.Height() - kHeight) / 2);
    m_ended = false;
    if (!CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE | WS_BORDER, CRect(x, y, x + kWidth, y + kHeight), nullptr, 0))
        return IDOK;
    CWnd* previousFocus = CWnd::GetFocus();
    if (CWnd* ok = GetDlgItem(IDOK)) ok->SetFocus();
    desktop.RunModal(*this, m_ended);
    DestroyWindow();
    m_controls.clear();
    if (IsWindow(previousFocus)) previousFocus->SetFocus();
    return IDOK;
}

int CMessageBox::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    auto label = std::make_unique<CStatic>();
    label->Create(m_text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(10, 15, kWidth - 10, 60), this, kTextLabel);
    m_controls.push_back(std::move(label));
    auto ok = std::make_unique<CWnd>();
    const int left = (kWidth - kButtonWidth) / 2;
    ok->CreateEx(0, "Button", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                 CRect(left, 70, left + kButtonWidth, 96), this, IDOK);
    m_controls.push_back(std::move(ok));
    return 0;
}

int AfxMessageBox(const char* text, UINT, UINT) {
    CMessageBox box(text ? text : "");
    return box.DoModal();
}
