#include "platform/core/CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/core/ResourceChain.h"

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
    // One pass into a stack buffer serves almost every text; only a longer one is formatted twice.
    char small[256];
    va_list retry;
    va_copy(retry, args);
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    if (needed < 0) {
        m_text.clear();
    } else if (static_cast<size_t>(needed) < sizeof small) {
        m_text.assign(small, static_cast<size_t>(needed));
    } else {
        m_text.assign(static_cast<size_t>(needed) + 1, '\0');
        std::vsnprintf(m_text.data(), m_text.size(), format, retry);
        m_text.resize(static_cast<size_t>(needed));
    }
    va_end(retry);
}

BOOL CString::LoadString(UINT id) {
    const char* text = AfxFindString(id);
    m_text = text ? text : "";
    return text != nullptr;
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, static_cast<size_t>(std::clamp(count, 0, GetLength()))));
}

CString CString::Right(int count) const {
    const int n = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(m_text.size() - static_cast<size_t>(n)));
}

CString CString::Mid(int first, int count) const {
    const int start = std::clamp(first, 0, GetLength());
    const int rest = GetLength() - start;
    const int n = count < 0 ? rest : std::min(count, rest);
    return CString(m_text.substr(static_cast<size_t>(start), static_cast<size_t>(n)));
}

int CString::Find(const char* sub, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    const size_t at = m_text.find(sub, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

void CString::TrimLeft() {
    const auto first = std::find_if(m_text.begin(), m_text.end(),
                                    [](unsigned char c) { return !std::isspace(c); });
    m_text.erase(m_text.begin(), first);
}

void CString::TrimRight() {
    while (!m_text.empty() && std::isspace(static_cast<unsigned char>(m_text.back()))) m_text.pop_back();
}
