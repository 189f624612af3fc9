#pragma once
// A text string in the shape of the framework's CString, over std::string. Texts are bytes
// in the host's code page; nothing here interprets them.
#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/core/Types.h"

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(std::string text) : m_text(std::move(text)) {}
    CString(std::string_view text) : m_text(text) {}

    // printf-style formatting; the arguments must match the format as with printf.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);

    // Fills the string with host string `id` found through the resource chain. A missing
    // identifier leaves the string empty and returns FALSE.
    BOOL LoadString(UINT id);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first, int count = -1) const;
    int Find(const char* sub, int start = 0) const;
    void TrimLeft();
    void TrimRight();

    operator const char*() const { return m_text.c_str(); }
    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }
    // The text itself, for bulk appends that would otherwise build and copy a second string.
    std::string& str() { return m_text; }

    CString& operator+=(const CString& other) { m_text += other.m_text; return *this; }
    CString& operator+=(const char* other) { m_text += other ? other : ""; return *this; }
    CString& operator+=(char c) { m_text += c; return *this; }
    friend CString operator+(CString a, const CString& b) { a += b; return a; }
    friend CString operator+(CString a, const char* b) { a += b; return a; }
    friend CString operator+(const char* a, const CString& b) { return CString(a) + b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }

private:
    std::string m_text;
};
