#pragma once
// The temporary files the tool has made and not yet renamed into place or removed. They are
// removed when a command fails (by their owners) and when the tool is ended by SIGINT, SIGTERM or
// SIGHUP or SIGPIPE (by a handler that only unlinks these paths and then lets the signal end the process as
// it would have).
#include <string>

// Creates a file from the mkstemp-style `pattern` (its name is written back into it), exclusively
// and registered for removal on a signal, with the signals held off until it is registered.
// Gives its descriptor, or -1 with errno set.
int CreateTemp(std::string& pattern);
// Forgets `path` (after it was renamed into place or removed).
void ForgetTemp(const std::string& path);
// Removes `path` and forgets it; never throws.
void RemoveTemp(const std::string& path) noexcept;
