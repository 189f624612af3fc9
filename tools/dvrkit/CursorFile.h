#pragma once
// --cursor-file (module/CursorFile.h) for the commands: its failures as the commands report them.
// The file holds the journal's cursor of the last entry printed; it is replaced whole, on disk
// before the command goes on, so that a reader killed at any moment resumes either after the
// entries it had printed and saved, or, killed between printing and saving, repeats only those.
#include <optional>
#include <string>

// The cursor stored in `path`; nothing when the file does not exist or holds nothing. A
// CommandError when it cannot be read or is not a plain file.
std::optional<std::string> ReadCursorFile(const std::string& path);
// Replaces `path` with `cursor`: written beside it, flushed to disk and renamed over it, the
// folder flushed after; a CommandError with the system's reason when that fails.
void WriteCursorFile(const std::string& path, const std::string& cursor);
