#pragma once
// What `dvrkit mail` reads from files: the body, the password and the attachments, each read
// completely or refused, so that a mail never goes out with a part silently missing or cut.
#include <string>

// The whole of `path` ("-" for standard input, or a pipe) read to its end; raises CommandError
// with the system's reason when it cannot be opened or read, or when a regular file gives fewer
// bytes than its size.
std::string ReadWholeFile(const std::string& path);
// Raises CommandError unless `path` can be opened for reading and is a regular file.
void CheckAttachable(const std::string& path);
