#pragma once
// Replacing a whole file: the new contents are written to a file created beside the old one
// under a name nobody else has used, then renamed over it, so that a reader sees the old file or
// the new one and never a mixture, and a failure leaves the old one as it was.
#include <cstdint>
#include <span>
#include <string>

#include "platform/core/CFile.h"

// Opens `file` as a new plain file beside `path` (created exclusively, never through a link) and
// returns its name; empty if none could be created.
std::string CreateBeside(CFile& file, const std::string& path);

// Replaces the file at `path` by `bytes` and keeps the old file beside it, under `path` +
// `keptSuffix` (with a number added when that name is taken); returns the name the old file
// is kept under. Raises CFileException, leaving `path` as it was, if it cannot be done.
std::string ReplaceKeepingOld(const std::string& path, std::span<const std::uint8_t> bytes, const char* keptSuffix);
