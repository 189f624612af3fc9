#pragma once
// The message box: a modal window with a text and an OK button. AfxMessageBox shows one and
// returns when it is answered. The desktop's modal driver runs it: a real display until the
// user presses OK or closes it; the headless backend records its text and answers it at once.
// Without any driver it returns at once, as answered.
#include <string>
#include <vector>

#include "platform/core/CString.h"
#include "platform/ui/CWnd.h"

constexpr UINT MB_OK = 0x00000000;

class CMessageBox : public CWnd {
public:
    // The label that shows the text, for hosts and tests that read the box.
    static constexpr UINT kTextLabel = 0xFFFF;

    explicit CMessageBox(CString text) : m_text(std::move(text)) {}

    // Shows the box until it is answered; IDOK.
    int DoModal();
    const CString& GetText() const { return m_text; }
    // Answers the box as its OK button does.
    void Answer() { m_ended = true; }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnOK() { Answer(); }
    void OnClose() { Answer(); }

private:
    CString m_text;
    bool m_ended = false;
    std::vector<std::unique_ptr<CWnd>> m_controls;
};

// Shows `text` in a message box with an OK button; only MB_OK is offered. Returns IDOK.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
