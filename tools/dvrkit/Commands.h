#pragma once
// The subcommand groups of the dvrkit tool; each adds its commands to the application.
#include <CLI/CLI.hpp>

void AddLog2Commands(CLI::App& app);
void AddEventCommands(CLI::App& app);
void AddMailCommands(CLI::App& app);
void AddDemoCommand(CLI::App& app);

// Thrown by a command to end with a message on stderr and the given exit code.
struct CommandError {
    std::string message;
    int exitCode = 1;
};
