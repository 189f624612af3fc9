#pragma once
// The windows that `dvrkit view` shows. Each window's entry is registered from a file of its own,
// under a key that places it in `view --help`:
//
//     const ViewEntries::Add registration(20, {"log2", "The log browser on a log folder", AddFolder, Spec});
//
// `view` gives each entry a subcommand with the entry's own arguments, then --snapshot.
#include <CLI/CLI.hpp>

#include "tools/dvrkit/Registry.h"
#include "tools/dvrkit/ViewRunner.h"

struct ViewEntry {
    const char* name;
    const char* help;
    // Adds the window's own arguments to its subcommand; nullptr if it has none.
    void (*addArguments)(CLI::App& command);
    // The window to show, made once the arguments are parsed.
    ViewSpec (*spec)();
};

using ViewEntries = Registry<ViewEntry>;
