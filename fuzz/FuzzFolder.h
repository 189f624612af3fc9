#pragma once
// The scratch folder of a fuzz target that loads its input from a file, as the browsers do.
#include <cstddef>
#include <cstdint>
#include <string>

// A folder of this process's own named after `target`, made at the first call and removed when
// the process ends. The first call also registers the default host's resources and pins the time
// zone, so that every input is rendered alike.
const std::string& FuzzFolder(const char* target);

// Writes the input to `path` as a new file: truncating the old one instead would make the file
// system flush it on close, for every input. False when the file cannot be made.
bool WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size);
