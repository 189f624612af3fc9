#pragma once
// Every file the tool writes goes through here: the output is written to a new file in its
// target's folder, unnamed where the file system allows (PendingFile.h), and put in place of the
// target only when all of it is written. A target that is a symbolic link, a folder, a FIFO or
// anything but a regular file is refused before anything is written. A failed command leaves
// nothing behind. The target "-" is standard output: the output is gathered in a file of the
// temporary folder and copied out once complete.
#include <string>
#include <string_view>

#include "platform/core/PendingFile.h"

// Who may read a new output: whom the umask allows, or its owner alone (decrypted plaintext). An
// existing target keeps its own mode either way.
enum class Readers { usual, ownerOnly };

// Checks `target` ("-" for standard output) and creates `pending` for it: in its folder, or in
// the temporary folder for "-". Raises CommandError with the system's reason on failure.
void CreatePendingFor(PendingFile& pending, const std::string& target, Readers readers = Readers::usual);

// Writes all `size` bytes to `fd`, retrying short writes; false (errno set) on failure.
bool WriteAll(int fd, const void* bytes, std::size_t size);

class OutputFile {
public:
    explicit OutputFile(std::string target, Readers readers = Readers::usual);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // A path to the output being written, for writers that open a path themselves.
    const std::string& TempPath() const { return m_pending.Path(); }
    // Appends `bytes`; raises CommandError with the system's reason.
    void Write(std::string_view bytes);
    // Puts the output in place (or on standard output); raises CommandError with the system's
    // reason, the output then discarded.
    void Commit();

private:
    [[noreturn]] void Fail(const std::string& what, int error);

    std::string m_target;
    PendingFile m_pending;
};
