#include "tools/dvrkit/FileBytes.h"

#include <stdlib.h>
#include <unistd.h>

#include "platform/core/CFile.h"
#include "tools/dvrkit/Commands.h"

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    CFile file;
    CFileException error(CFileException::none, 0, path, "open");
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary, &error)) throw CommandError{error.what()};
    std::vector<std::uint8_t> bytes(file.GetLength());
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    return bytes;
}

std::string CreateTempBeside(const std::string& target) {
    std::string pattern = target + ".dvrkit-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) throw CommandError{"cannot create a temporary file beside " + target};
    close(fd);
    return pattern;
}
