// dvrkit view dib FILE: the bitmap painted by the bitmap class into a window.
#include <string>

#include "tools/dvrkit/DibView.h"
#include "tools/dvrkit/ViewEntry.h"

namespace {

std::string file;

const ViewEntries::Add registration(
    35, {"dib", "A bitmap file as the bitmap class reads and paints it",
         [](CLI::App& command) { command.add_option("FILE", file, "A bitmap file")->required(); },
         [] { return DibViewSpec(file); }});

}  // namespace
