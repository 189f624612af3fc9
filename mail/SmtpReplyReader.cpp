#include "mail/SmtpReplyReader.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

SmtpReplyReader::Reply SmtpReplyReader::CheckLine(const std::string& line, int firstCode, bool& last) const {
    const bool codeOk = line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
    const char next = line.size() > 3 ? line[3] : ' ';
    if (!codeOk || (next != ' ' && next != '-')) return {Status::malformed, 0, {}};
    const int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    if (firstCode && code != firstCode) return {Status::malformed, 0, {}};
    last = next == ' ';
    return {Status::complete, code, {}};
}

SmtpReplyReader::Reply SmtpReplyReader::Read(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::size_t used = 0;  // bytes of this reply taken from m_pending so far
    int code = 0;
    std::string text;
    for (;;) {
        const std::size_t end = m_pending.find('\n', used);
        if (end != std::string::npos) {
            std::string line = m_pending.substr(used, end - used);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            used = end + 1;
            bool last = false;
            Reply r = CheckLine(line, code, last);
            text += line + "\n";
            if (r.status != Status::complete || last) {
                m_pending.erase(0, used);  // the next reply starts after this line
                r.text = std::move(text);
                return r;
            }
            code = r.code;
            continue;
        }
        if (m_pending.size() > smtp::kMaxReplySize) return {Status::malformed, 0, std::move(text)};
        int wait = CSocket::kNoTimeout;
        if (timeoutMs != CSocket::kNoTimeout) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = static_cast<int>(std::max<long long>(left.count(), 0));
        }
        m_connection.SetReceiveTimeout(wait);
        const int got = m_connection.Receive(m_buffer, sizeof m_buffer);
        if (got == CSocket::SOCKET_ERROR) return {Status::socketError, 0, std::move(text)};
        if (got == 0) return {Status::closed, 0, std::move(text)};
        m_pending.append(m_buffer, static_cast<std::size_t>(got));
    }
}
