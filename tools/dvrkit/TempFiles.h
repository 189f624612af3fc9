#pragma once
// The named temporary files the tool has made and not yet put in place or removed (unnamed ones
// need no care: the system drops them with the process). Named ones are removed when a command
// fails (by their owners) and when the tool is ended by SIGINT, SIGTERM, SIGHUP or SIGPIPE (by a
// handler that only unlinks these paths and then lets the signal end the process as it would
// have); one left by a kill the handler cannot catch goes at the next run for the same target.
#include <sys/types.h>

#include <string>

#include "platform/core/PendingFile.h"

// Installs that handler, which CreateTemp does at the latest; a command that handles some of these
// signals itself installs its own after it.
void InstallTempFileHandler();
// Creates `pending` for `target` (PendingFile::Create), with the signals held off until its name,
// if it has one, is registered for removal on a signal. False with errno set.
bool CreateTemp(PendingFile& pending, const std::string& target, mode_t mode);
// Puts `pending` in place (PendingFile::PutInPlace) and forgets its name.
bool PutTempInPlace(PendingFile& pending);
// Removes `pending` and forgets its name; never throws.
void RemoveTemp(PendingFile& pending) noexcept;
