#include "tools/dvrkit/CursorFile.h"

#include "module/CursorFile.h"
#include "tools/dvrkit/Commands.h"

std::optional<std::string> ReadCursorFile(const std::string& path) {
    std::optional<std::string> cursor;
    std::string reason;
    if (!LoadCursorFile(path, cursor, reason)) throw CommandError{"--cursor-file: cannot read " + path + ": " + reason};
    return cursor;
}

void WriteCursorFile(const std::string& path, const std::string& cursor) {
    std::string reason;
    if (!SaveCursorFile(path, cursor, reason)) throw CommandError{"--cursor-file: cannot write " + path + ": " + reason};
}
