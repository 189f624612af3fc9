#pragma once
// Running a real peer (the tool, Python, ImageMagick) through the shell from a test.
#include <string>

struct CommandResult {
    int status = -1;      // the exit code, or -1 if it did not exit normally
    std::string output;   // standard output only (add 2>&1 to the command for both)
};

CommandResult RunCommand(const std::string& command);
