#pragma once
// Whole files for the tool's commands: reading them ("-" is standard input), and the temporary
// file beside a target that a command writes and then renames over it.
#include <cstdint>
#include <string>
#include <vector>

// The bytes of `path`, or of standard input for "-"; raises CommandError with the system's reason
// when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// A new, empty file beside `target` (same folder, so the final rename stays on one file system),
// created exclusively under a unique name and removed if the tool is ended by a signal; raises
// CommandError when it cannot be created or when `target` is not absent or a regular file. The
// caller renames it over the target, or removes it with RemoveTemp (TempFiles.h).
std::string CreateTempBeside(const std::string& target);

// An input that readers open by path: the path itself, or for "-" a temporary copy of standard
// input, removed when this ends.
class InputPath {
public:
    explicit InputPath(const std::string& path);
    ~InputPath();
    InputPath(const InputPath&) = delete;
    InputPath& operator=(const InputPath&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_spooled = false;
};
