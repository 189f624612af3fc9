#pragma once
// Binary files over POSIX descriptors, in the shape of the framework's CFile. Reads and writes
// go straight to the descriptor (there is no user-space buffer), so Flush has nothing to push
// and durability is what the kernel gives after write(2). Platform errors after a file is open
// are raised as CFileException.
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/core/Types.h"

class CFileException : public std::runtime_error {
public:
    enum Cause { none, generic, fileNotFound, accessDenied, diskFull, endOfFile, badSeek };

    CFileException(Cause cause, int osError, std::string fileName, const char* action);

    Cause m_cause;
    int m_lOsError;  // errno of the failed call
    std::string m_strFileName;
};

// Which file a path or an open file is, so that a kept descriptor can be checked against what its
// path names now (after a delete or a rename, the two differ).
struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeAppend = 0x0100,      // every write goes to the end, atomically against other writers
        modeNoFollow = 0x0200,    // refuse a symlink, a FIFO or a device at the path: only a plain file
        modeCreateNew = 0x0400,   // with modeCreate: fail if the path exists (a fresh temporary file)
        modeCreate = 0x1000,      // create, truncating an existing file unless modeNoTruncate
        modeNoTruncate = 0x2000,
        typeText = 0x4000,        // accepted and ignored: bytes are written as they stand
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = SEEK_SET, current = SEEK_CUR, end = SEEK_END };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // Returns FALSE, and fills `error` when given, if the file cannot be opened.
    virtual BOOL Open(const char* path, UINT flags, CFileException* error = nullptr);
    // Reads up to `count` bytes; fewer only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all `count` bytes or throws.
    virtual void Write(const void* buffer, UINT count);
    // Positional forms that leave the file position alone (one system call each).
    virtual UINT ReadAt(std::uint64_t offset, void* buffer, UINT count);
    virtual void WriteAt(std::uint64_t offset, const void* buffer, UINT count);
    virtual std::uint64_t Seek(std::int64_t offset, UINT from);
    std::uint64_t SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }
    virtual std::uint64_t GetLength() const;
    virtual void SetLength(std::uint64_t length);
    virtual void Flush() {}
    // Takes an exclusive advisory lock on the open file, waiting for other holders; it lasts until
    // Unlock or until the file is closed. Cooperating writers of one file take it around every
    // update.
    void LockExclusive();
    void Unlock();
    // Closes the file; a failing close(2) throws.
    virtual void Close();
    // Closes the file without ever throwing (for error paths).
    void Abort();

    bool IsOpen() const { return m_fd >= 0; }
    FileIdentity GetIdentity() const;
    // The identity of the file `path` names now, or nothing if it names none.
    static std::optional<FileIdentity> IdentityOf(const char* path);
    // The same with that file's length, from the one look-up.
    static std::optional<std::pair<FileIdentity, std::uint64_t>> IdentityAndLengthOf(const char* path);
    const std::string& GetFilePath() const { return m_path; }

private:
    [[noreturn]] void Throw(const char* action) const;

    int m_fd = -1;
    std::string m_path;
};
