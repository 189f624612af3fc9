#pragma once
// The message box: a modal window with a text and an OK button, or a question with Yes and No.
// AfxMessageBox shows one and returns the answer. The desktop's modal driver runs it: a real
// display until the user presses a button or closes it (a question closed is answered No); the
// headless backend records its text and answers it (see HeadlessBackend.h). Without any driver it
// returns at once, as answered: OK, or No to a question.
#include <string>
#include <vector>

#include "platform/core/CString.h"
#include "platform/ui/CWnd.h"

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_YESNO = 0x00000004;

class CMessageBox : public CWnd {
public:
    // The label that shows the text, for hosts and tests that read the box.
    static constexpr UINT kTextLabel = 0xFFFF;

    explicit CMessageBox(CString text, UINT type = MB_OK) : m_text(std::move(text)), m_type(type) {}

    // Shows the box until it is answered; IDOK, IDYES or IDNO.
    int DoModal();
    const CString& GetText() const { return m_text; }
    // True for a question (Yes and No), which the headless backend does not answer itself.
    bool AsksQuestion() const { return m_type == MB_YESNO; }
    // Answers the box as the button `result` does.
    void Answer(int result) {
        m_result = result;
        m_ended = true;
    }
    // Answers it as closing it does: OK, or No to a question.
    void Dismiss() { Answer(Unanswered()); }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnOK() { Answer(IDOK); }
    void OnYes() { Answer(IDYES); }
    void OnNo() { Answer(IDNO); }
    void OnClose() { Dismiss(); }

private:
    int Unanswered() const { return AsksQuestion() ? IDNO : IDOK; }
    // Adds a push button under the text.
    void AddButton(const char* text, int id, int left, DWORD style);

    CString m_text;
    UINT m_type;
    int m_result = IDOK;
    bool m_ended = false;
    std::vector<std::unique_ptr<CWnd>> m_controls;
};

// Shows `text` in a message box: MB_OK (an OK button, IDOK) or MB_YESNO (IDYES or IDNO).
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
