#include "mail/HeaderFields.h"

#include <atomic>
#include <cstdlib>
#include <unistd.h>

#include "platform/core/HostName.h"

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::atomic<unsigned> g_messageCounter{0};

// The host name when it can stand after "@" in a Message-ID, else "localhost".
CString MessageIdDomain() {
    const CString host = GetLocalHostName();
    return IsPlainHostName(host) ? host : CString("localhost");
}

}  // namespace

CString MailDateText(CTime time) {
    const std::tm tm = time.GetLocalTm();
    // The offset of this very time, so that a zone with daylight saving time or half hours gives
    // the instant the mail was written, as RFC 5322 3.3 requires.
    const long east = tm.tm_gmtoff / 60;
    CString text;
    text.Format("%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDayNames[tm.tm_wday], tm.tm_mday,
                kMonthNames[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec,
                east < 0 ? '-' : '+', std::labs(east) / 60, std::labs(east) % 60);
    return text;
}

CString MessageIdText(CTime time) {
    CString id;
    id.Format("<%u.%d.%u@%s>", time.GetTime(), static_cast<int>(getpid()), ++g_messageCounter,
              MessageIdDomain().c_str());
    return id;
}
