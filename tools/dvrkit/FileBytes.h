#pragma once
// Whole-file reading for the tool's dump commands.
#include <cstdint>
#include <string>
#include <vector>

// The bytes of `path`; raises CommandError when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
