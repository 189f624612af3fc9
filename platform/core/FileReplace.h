#pragma once
// Replacing a whole file: the new contents are written to a new file in the old one's folder
// (PendingFile.h), then put in its place, so that a reader sees the old file or the new one and
// never a mixture, and a failure or a kill leaves the old one as it was.
#include <cstdint>
#include <span>
#include <string>

#include "platform/core/CFile.h"
#include "platform/core/PendingFile.h"

// Makes `pending` the new file for `path` and opens `file` on it for writing; false if it
// cannot be made. Once in place it has the mode a file created at `path` would have.
bool CreateBeside(PendingFile& pending, CFile& file, const std::string& path);

// Replaces the file at `path` by `bytes` and keeps the old file beside it, under `path` +
// `keptSuffix` (with a number added when that name is taken); returns the name the old file
// is kept under. Raises CFileException, leaving `path` as it was, if it cannot be done.
std::string ReplaceKeepingOld(const std::string& path, std::span<const std::uint8_t> bytes, const char* keptSuffix);
