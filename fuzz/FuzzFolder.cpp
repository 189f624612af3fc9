#include "fuzz/FuzzFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

#include "host/DefaultHost.h"

namespace {

struct ScratchFolder {
    std::string path;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& FuzzFolder(const char* target) {
    static const ScratchFolder folder = [target] {
        RegisterDefaultHostResources();
        setenv("TZ", "Europe/Berlin", 1);
        const auto path = std::filesystem::temp_directory_path() /
                          ("dvrkit-fuzz-" + std::string(target) + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return ScratchFolder{path.string()};
    }();
    return folder.path;
}

bool WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    // Straight system calls: a stdio stream would allocate and fill a buffer for every input.
    unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    const bool whole = write(fd, data, size) == static_cast<ssize_t>(size);
    return close(fd) == 0 && whole;
}
