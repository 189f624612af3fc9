#pragma once
// An entry of a journal as one RFC 5424 syslog message, and the octet-counted framing of RFC 6587
// (plain TCP) and RFC 5425 (TLS). The constants of the message live here alone.
#include <string>
#include <string_view>

#include "module/JournalFamily.h"
#include "platform/core/Types.h"

namespace syslogformat {
// local0: the facility RFC 5424 leaves to local use, so a central server can file a recorder's
// entries apart from its own daemons'.
constexpr int kFacility = 16;
// None of the families stores a severity (their types are kinds of work, not levels).
constexpr int kSeverity = 5;  // notice
constexpr int kVersion = 1;
constexpr const char* kAppName = "dvrkit";
// The enterprise number RFC 5612 reserves for documentation: a recorder's vendor puts its own.
constexpr const char* kSdId = "dvrkit@32473";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kMaxHostName = 255;
}  // namespace syslogformat

// What stays the same for every message of one forwarder.
struct SyslogOrigin {
    std::string hostName;  // printable ASCII without blanks; "-" when the system has none
    std::string msgId;     // the family: "log2", "event", "log1"
};

// The local host's name as a syslog HOSTNAME.
std::string SyslogHostName();

// Appends the message of an entry stored at `time` with `text` to `out`: PRI, VERSION, the local
// time with the zone's offset (TZ decides), HOSTNAME, APP-NAME, PROCID "-", MSGID, the fields as
// the parameters of one structured-data element, and MSG: a byte order mark, the heading, then
// the body's lines. Bytes that are not UTF-8 become U+FFFD.
void AppendSyslogMessage(std::string& out, const SyslogOrigin& origin, DWORD time, const JournalText& text);

// `message` framed by its length in octets: "LEN SP MSG".
void AppendOctetCounted(std::string& out, std::string_view message);
