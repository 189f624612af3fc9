// dvrkit: reads and writes every file the library writes, and runs the demo host.
#include <csignal>
#include <iostream>

#include "host/DefaultHost.h"
#include "module/LibraryModule.h"
#include "platform/core/CFile.h"
#include "tools/dvrkit/Commands.h"

int main(int argc, char** argv) {
    // A file-size limit then fails the write, which the writers roll back and report, instead of
    // killing the tool in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    RegisterDefaultHostResources();

    CLI::App app{"dvrkit: the files, mail and windows of the DVR utility library"};
    app.set_version_flag("--version", DvrkitVersion());
    app.require_subcommand(1);
    for (const auto& group : CommandGroups::InOrder()) group.entry(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const CommandError& e) {
        std::cerr << "dvrkit: " << e.message << "\n";
        return e.exitCode;
    } catch (const CFileException& e) {
        std::cerr << "dvrkit: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
