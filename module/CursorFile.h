#pragma once
// A file holding one journal cursor (Journal::Cursor), where a reader that ships the entries
// elsewhere goes on after a restart: the tool's --cursor-file and the forwarder. The file is
// replaced whole and is on disk before the caller goes on, so that a reader killed at any moment
// resumes after the entries it saved, repeating at most those it shipped but had not yet saved.
#include <optional>
#include <string>

// The cursor stored in `path` into `cursor` (nothing when the file does not exist or holds only
// blanks); false with `reason` when it cannot be read, is not a plain file (never followed
// through a link, never waited on as a FIFO) or is too long to hold a cursor.
bool LoadCursorFile(const std::string& path, std::optional<std::string>& cursor, std::string& reason);
// Replaces `path` with `cursor` and a line end: written beside it, flushed to disk and renamed over
// it, the folder flushed after; false with the system's reason when that fails.
bool SaveCursorFile(const std::string& path, const std::string& cursor, std::string& reason);
