#include "platform/core/FileReplace.h"

#include <cerrno>
#include <unistd.h>

#include "platform/core/FileSystem.h"

namespace {

constexpr int kNameAttempts = 100;

// Gives the file at `path` a second name, path + suffix (+ a number when taken); returns it.
std::string LinkBeside(const std::string& path, const char* suffix) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = path + suffix + (attempt ? "." + std::to_string(attempt) : std::string());
        if (::link(path.c_str(), name.c_str()) == 0) return name;
        if (errno != EEXIST) break;
    }
    throw CFileException(CFileException::generic, errno, path, "keep a copy of");
}

}  // namespace

bool CreateBeside(PendingFile& pending, CFile& file, const std::string& path) {
    // The mode CFile gives a file it creates.
    if (!pending.Create(path, UmaskedMode(0644))) return false;
    if (file.Open(pending.Path().c_str(), CFile::modeWrite | CFile::typeBinary)) return true;
    pending.Discard();
    return false;
}

std::string ReplaceKeepingOld(const std::string& path, std::span<const std::uint8_t> bytes, const char* keptSuffix) {
    PendingFile pending;
    CFile file;
    if (!CreateBeside(pending, file, path)) throw CFileException(CFileException::generic, errno, path, "create a file beside");
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        throw;
    }
    const std::string kept = LinkBeside(path, keptSuffix);
    if (!pending.PutInPlace()) {
        const int err = errno;
        DeleteFileA(kept.c_str());
        throw CFileException(CFileException::generic, err, path, "replace");
    }
    return kept;
}
