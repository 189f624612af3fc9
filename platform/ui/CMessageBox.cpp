#include "platform/ui/CMessageBox.h"

#include <algorithm>

#include "platform/ui/CButton.h"
#include "platform/ui/CDesktop.h"
#include "platform/ui/CStatic.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 110;
constexpr int kButtonWidth = 75;
constexpr int kButtonGap = 10;

}  // namespace

const MessageMap* CMessageBox::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CMessageBox::OnCreate>(),
        msgmap::OnCommand<&CMessageBox::OnOK>(BN_CLICKED, IDOK),
        msgmap::OnCommand<&CMessageBox::OnYes>(BN_CLICKED, IDYES),
        msgmap::OnCommand<&CMessageBox::OnNo>(BN_CLICKED, IDNO),
        msgmap::OnClose<&CMessageBox::OnClose>(),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

int CMessageBox::DoModal() {
    CDesktop& desktop = CDesktop::Get();
    const int x = std::max(0, (desktop.Width() - kWidth) / 2);
    const int y = std::max(0, (desktop.Height() - kHeight) / 2);
    m_result = Unanswered();
    m_ended = false;
    if (!CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE | WS_BORDER, CRect(x, y, x + kWidth, y + kHeight), nullptr, 0))
        return m_result;
    CWnd* previousFocus = CWnd::GetFocus();
    if (CWnd* first = GetDlgItem(AsksQuestion() ? IDYES : IDOK)) first->SetFocus();
    desktop.RunModal(*this, m_ended);
    DestroyWindow();
    m_controls.clear();
    if (IsWindow(previousFocus)) previousFocus->SetFocus();
    return m_result;
}

int CMessageBox::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    auto label = std::make_unique<CStatic>();
    label->Create(m_text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(10, 15, kWidth - 10, 60), this, kTextLabel);
    m_controls.push_back(std::move(label));
    const int middle = (kWidth - kButtonWidth) / 2;
    if (AsksQuestion()) {
        AddButton("Yes", IDYES, middle - kButtonWidth / 2 - kButtonGap / 2, BS_DEFPUSHBUTTON);
        AddButton("No", IDNO, middle + kButtonWidth / 2 + kButtonGap / 2, 0);
    } else {
        AddButton("OK", IDOK, middle, BS_DEFPUSHBUTTON);
    }
    return 0;
}

void CMessageBox::AddButton(const char* text, int id, int left, DWORD style) {
    auto button = std::make_unique<CWnd>();
    button->CreateEx(0, "Button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                     CRect(left, 70, left + kButtonWidth, 96), this, static_cast<UINT>(id));
    m_controls.push_back(std::move(button));
}

int AfxMessageBox(const char* text, UINT type, UINT) {
    CMessageBox box(text ? text : "", type);
    return box.DoModal();
}
