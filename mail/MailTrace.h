#pragma once
// The trace file of failed deliveries, shared by every mail thread of the process: EMailSender.txt
// in the system's temporary folder ($TMPDIR, else /tmp). It is emptied when the process first
// writes to it and then stays open, each text written directly after the previous one, with no
// line break. The first opening and every write are serialised.
#include "platform/core/CString.h"

// Writes `text` and flushes; when the file cannot be opened, writes nothing and tries again on
// the next call.
void WriteTrace(const char* text);
// The file's path, from the environment as it is now.
CString TraceFilePath();
// The text of the process's last WriteTrace call (also when the file could not be written), or
// empty: how a tool in the same process learns what a mail thread traced.
CString LastTraceText();
