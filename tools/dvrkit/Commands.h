#pragma once
// The subcommand groups of the dvrkit tool; each adds its commands to the application.
#include <string>

#include <CLI/CLI.hpp>

void AddLog2Commands(CLI::App& app);
void AddLog2BrowseCommands(CLI::App& log2);
void AddEventBrowseCommands(CLI::App& event);
void AddEventCommands(CLI::App& app);
void AddCryptCommands(CLI::App& app);
void AddCalendarCommand(CLI::App& app);
void AddMailCommands(CLI::App& app);
void AddDemoCommand(CLI::App& app);
void AddViewCommands(CLI::App& app);

struct ViewSpec;
// The log browser on `folder`, for `dvrkit view log2` and the demo.
ViewSpec Log2ViewSpec(const std::string& folder);

// Thrown by a command to end with a message on stderr and the given exit code.
struct CommandError {
    std::string message;
    int exitCode = 1;
};
