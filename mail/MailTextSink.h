#pragma once
// Where a mail's text goes while it is composed: a string, a stream, or the SMTP connection. The
// mail is produced piece by piece into a sink, so an attachment never needs to be held whole.
#include <cstddef>
#include <string>
#include <string_view>

class MailTextSink {
public:
    virtual ~MailTextSink() = default;
    virtual void Write(std::string_view text) = 0;
};

// Appends to a string.
class StringSink : public MailTextSink {
public:
    explicit StringSink(std::string& out) : m_out(out) {}
    void Write(std::string_view text) override { m_out.append(text); }

private:
    std::string& m_out;
};

// Passes text on and remembers whether it ended with CR LF, for the rule that a boundary line
// starts on a line of its own.
class LineEndTracker : public MailTextSink {
public:
    explicit LineEndTracker(MailTextSink& out) : m_out(out) {}
    void Write(std::string_view text) override {
        if (text.empty()) return;
        m_out.Write(text);
        m_endsWithCrLf = text.size() >= 2 ? text.substr(text.size() - 2) == "\r\n" : m_lastCr && text == "\n";
        m_lastCr = text.back() == '\r';
    }
    // Writes CR LF unless the text so far ends with it.
    void EndLine() {
        if (!m_endsWithCrLf) Write("\r\n");
    }

private:
    MailTextSink& m_out;
    bool m_endsWithCrLf = false;
    bool m_lastCr = false;
};
