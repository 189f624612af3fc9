#include "forward/ForwardTarget.h"

#include <charconv>
#include <utility>

namespace {

const std::pair<std::string_view, ForwardTransport> kSchemes[] = {
    {"relp://", ForwardTransport::Relp},
    {"syslog+tls://", ForwardTransport::SyslogTls},
    {"syslog+tcp://", ForwardTransport::SyslogTcp},
};

bool ParsePort(std::string_view text, unsigned& port) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    return ec == std::errc() && end == text.data() + text.size() && port >= 1 && port <= 65535;
}

}  // namespace

bool ParseForwardTarget(std::string_view url, ForwardTarget& target, std::string& error) {
    error = "not relp://HOST:PORT, syslog+tls://HOST:PORT or syslog+tcp://HOST:PORT";
    bool known = false;
    for (const auto& [scheme, transport] : kSchemes)
        if (url.starts_with(scheme)) {
            url.remove_prefix(scheme.size());
            target.transport = transport;
            known = true;
        }
    const std::size_t colon = url.rfind(':');
    if (!known || colon == std::string_view::npos || colon == 0) return false;
    std::string_view host = url.substr(0, colon);
    if (host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty() || host.find_first_of("/[]@ ") != std::string_view::npos) return false;
    if (!ParsePort(url.substr(colon + 1), target.port)) {
        error = "the port is not a number from 1 to 65535";
        return false;
    }
    target.host = host;
    error.clear();
    return true;
}
