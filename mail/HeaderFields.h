#pragma once
// The generated header texts of a mail: its date and its Message-ID.
#include "platform/core/CString.h"
#include "platform/core/CTime.h"

// `time` as "Fri, 04 Dec 2026 13:55:08 +0900": local time with English day and month names,
// then the local zone's offset from UTC at that time, daylight saving time and minutes included.
CString MailDateText(CTime time);
// A Message-ID value, "<time.process.counter@host>", unique per mail in this process and, with
// the local host name, beyond it.
CString MessageIdText(CTime time);
