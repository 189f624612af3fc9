#pragma once
// Whole files for the tool's commands: reading them, "-" being standard input.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/PendingFile.h"

// The bytes of `path`, or of standard input for "-"; raises CommandError with the system's reason
// when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// An input that readers open by path: the path itself, or for "-" a temporary copy of standard
// input (unnamed where the file system allows, else readable by its owner alone), removed when
// this ends.
class InputPath {
public:
    explicit InputPath(const std::string& path);
    ~InputPath();
    InputPath(const InputPath&) = delete;
    InputPath& operator=(const InputPath&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    PendingFile m_spool;
};
