#pragma once
// The subcommand groups of the dvrkit tool. Each group's file registers the function that adds
// its commands to the application, under a key that places the group in `--help`:
//
//     const CommandGroups::Add registration(10, AddLog2Commands);
//
// Keys go in tens, so that a new group can be placed between two others.
#include <string>

#include <CLI/CLI.hpp>

#include "tools/dvrkit/Registry.h"

using CommandGroups = Registry<void (*)(CLI::App& app)>;

// The browsing commands of the log2 group (months, days, show, export) and of the event group
// (months, days, show).
void AddLog2BrowseCommands(CLI::App& log2);
void AddEventBrowseCommands(CLI::App& event);
// The browsing and deleting commands of the log1 group (months, days, show, delete).
void AddLog1BrowseCommands(CLI::App& log1);

// Thrown by a command to end with a message on stderr and the given exit code.
struct CommandError {
    std::string message;
    int exitCode = 1;
};
