#pragma once
// The trace file of failed deliveries, shared by every mail thread of the process: EMailSender.txt
// in the system's temporary folder ($TMPDIR, else /tmp). Since that folder is shared with other
// users, the file is opened only if it is our own regular file: never through a symbolic link,
// never a FIFO or device, never another user's file. It is created with permissions 0600 when
// missing, and emptied once per process, when it is first opened and found to be ours; each text
// is then written directly after the previous one, with no line break. The texts are the
// session's fixed error texts, never a server's words. The first opening and every write are
// serialised.
#include "platform/core/CString.h"

// Writes `text`. When the file cannot be opened or is refused, writes nothing, keeps the reason
// for TraceProblem, and tries again on the next call.
void WriteTrace(const char* text);
// The file's path, from the environment as it is now.
CString TraceFilePath();
// The text of the process's last WriteTrace call (also when the file could not be written), or
// empty: how a tool in the same process learns what a mail thread traced.
CString LastTraceText();
// Why the last WriteTrace wrote nothing ("... is a symbolic link", ...), or empty when it wrote.
CString TraceProblem();
