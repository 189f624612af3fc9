#pragma once
// Whole files for the tool's commands: reading them, and the temporary file beside a target
// that a command writes and then renames over it.
#include <cstdint>
#include <string>
#include <vector>

// The bytes of `path`; raises CommandError when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// A new, empty file beside `target` (same folder, so the final rename stays on one file system),
// created exclusively under a unique name; raises CommandError when it cannot be created.
std::string CreateTempBeside(const std::string& target);
