#include "forward/SyslogTransport.h"

#include "forward/RelpTransport.h"
#include "forward/StreamTransport.h"

std::unique_ptr<SyslogTransport> MakeSyslogTransport(const ForwardTarget& target, const ForwardSecurity& security) {
    if (target.transport == ForwardTransport::Relp) return std::make_unique<RelpTransport>(target, security);
    return std::make_unique<StreamTransport>(target, security, target.transport == ForwardTransport::SyslogTls);
}
