// dvrkit: reads and writes every file the library writes, and runs the demo host.
#include <csignal>
#include <exception>
#include <iostream>

#include "host/DefaultHost.h"
#include "module/LibraryModule.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

constexpr const char* kExitCodes =
    "Exit status:\n"
    "  0  done\n"
    "  1  the command could not do its job: a usage error, a missing folder, a failed read or write\n"
    "     (the reason is on stderr)\n"
    "  2  a damaged or foreign file (stderr names the file and the offset); for crypt decrypt, a wrong\n"
    "     key or not a container\n"
    "  3  crypt decrypt: a damaged container\n"
    "Texts from the files are shown with control characters escaped as \\xHH (ESC as \\x1b).";

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit then fails the write, which the writers roll back and report, instead of
    // killing the tool in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    RegisterDefaultHostResources();
    BufferStandardOutput();

    CLI::App app{"dvrkit: the files, mail and windows of the DVR utility library"};
    app.set_version_flag("--version", DvrkitVersion());
    app.require_subcommand(1);
    app.footer(kExitCodes);
    for (const auto& group : CommandGroups::InOrder()) group.entry(app);

    try {
        app.parse(argc, argv);
        CheckStandardOutput();
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
        std::cerr << "dvrkit: " << e.what() << "\nRun with --help for more information.\n";
        return 1;
    } catch (const CommandError& e) {
        std::cerr << "dvrkit: " << e.message << "\n";
        return e.exitCode;
    } catch (const std::exception& e) {
        std::cerr << "dvrkit: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
