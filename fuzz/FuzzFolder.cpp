#include "fuzz/FuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
    std::remove(path.c_str());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fwrite(data, 1, size, f);
    return std::fclose(f) == 0;
}
