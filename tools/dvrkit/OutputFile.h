#pragma once
// Every file the tool writes goes through here: the output is written to a temporary file beside
// its target, made under a unique name with exclusive creation, and renamed over the target only
// when all of it is written. A target that is a symbolic link, a folder, a FIFO or anything but a
// regular file is refused before anything is written. The temporary file is removed on failure
// and on SIGINT, SIGTERM, SIGHUP and SIGPIPE. The target "-" is standard output: the output is
// gathered in a temporary file and copied out once complete.
#include <cstddef>
#include <string>
#include <string_view>

// A temporary file for `target`: its path and open descriptor (registered for removal on a signal).
struct TempFile {
    std::string path;
    int fd = -1;
};

// Checks `target` ("-" for standard output) and creates its temporary file: beside it, or in the
// temporary folder for "-". Raises CommandError with the system's reason on failure.
TempFile OpenTempFor(const std::string& target);

// Writes all `size` bytes to `fd`, retrying short writes; false (errno set) on failure.
bool WriteAll(int fd, const void* bytes, std::size_t size);

class OutputFile {
public:
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The temporary file, for writers that open a path themselves.
    const std::string& TempPath() const { return m_temp.path; }
    // Appends `bytes`; raises CommandError with the system's reason.
    void Write(std::string_view bytes);
    // Puts the output in place (or on standard output); raises CommandError with the system's
    // reason, the temporary file then removed.
    void Commit();

private:
    [[noreturn]] void Fail(const std::string& what, int error);

    std::string m_target;
    TempFile m_temp;
    bool m_done = false;
};
