#pragma once
// A new file that takes the place of a path only once it is complete. Where the file system
// allows, it has no name at all until then (O_TMPFILE in the path's folder), so a process killed
// while writing leaves nothing behind. Elsewhere it is a named file beside the path, mode 0600
// until it is put in place, whose name carries the writer's process id:
//     <path>.<pid>-<n>.new
// Such files whose process is gone are removed whenever a new one is made for the same path.
#include <sys/types.h>

#include <string>

class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile();  // discards the file unless it was put in place
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Creates the file for `target` (which need not exist) in its folder; `mode` is the exact
    // permission it gets once in place. False, with errno set, when it cannot be made.
    bool Create(const std::string& target, mode_t mode);
    // Opens the file for writers that take a path: a /proc link to the unnamed file, or its name.
    const std::string& Path() const { return m_path; }
    // Its name in the folder meanwhile; empty for an unnamed file.
    const std::string& Name() const { return m_name; }
    int Descriptor() const { return m_fd; }
    // Flushes the file to disk and puts it at the target, replacing what is there; the file is
    // discarded when that fails (false, errno set).
    bool PutInPlace();
    // Closes and removes the file; never fails.
    void Discard() noexcept;

private:
    bool CreateUnnamed(const std::string& folder);
    bool CreateNamed();
    bool Link(std::string& name) const;

    std::string m_target;
    std::string m_path;
    std::string m_name;
    mode_t m_mode = 0;
    int m_fd = -1;
};

// `mode` less the process's umask, as open(2) would create a file, read without changing the
// umask (which other threads may be using).
mode_t UmaskedMode(mode_t mode);
