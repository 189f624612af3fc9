#include "platform/core/FileReplace.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
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

std::string CreateBeside(CFile& file, const std::string& path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = path + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".new";
        CFileException error(CFileException::none, 0, name, "create");
        if (file.Open(name.c_str(), CFile::modeWrite | CFile::modeCreate | CFile::modeCreateNew | CFile::modeNoFollow |
                                        CFile::typeBinary, &error))
            return name;
        if (error.m_lOsError != EEXIST) return {};
    }
    return {};
}

std::string ReplaceKeepingOld(const std::string& path, std::span<const std::uint8_t> bytes, const char* keptSuffix) {
    CFile file;
    const std::string temporary = CreateBeside(file, path);
    if (temporary.empty()) throw CFileException(CFileException::generic, errno, path, "create a file beside");
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        DeleteFileA(temporary.c_str());
        throw;
    }
    std::string kept;
    try {
        kept = LinkBeside(path, keptSuffix);
    } catch (const CFileException&) {
        DeleteFileA(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int err = errno;
        DeleteFileA(temporary.c_str());
        DeleteFileA(kept.c_str());
        throw CFileException(CFileException::generic, err, path, "replace");
    }
    return kept;
}
