#pragma once
// A file named by path whose descriptor is kept open from one use to the next, while the path
// still names the same file. A writer that touches the same month file on every call saves the
// open and close; a file deleted, renamed or replaced meanwhile is noticed (its identity no
// longer matches the path's) and the path is opened again, so nothing goes to a file that nobody
// can see any more.
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/CFile.h"

// Makes the file object that a path is opened with: a plain CFile, or in a test one that fails
// where the test says.
using FileFactory = std::function<std::unique_ptr<CFile>()>;

class CKeptFile {
public:
    // Opens paths with files made by `makeFile`; without one (or with an empty one), plain CFiles.
    explicit CKeptFile(FileFactory makeFile = {});

    // The open file for `path` with `flags`, reusing the kept descriptor when it is for the same
    // path and flags and still the file the path names; nullptr if it cannot be opened. The file
    // stays valid until the next Open or Release.
    CFile* Open(const char* path, UINT flags);
    // The same, with what `path` names now already found by the caller (nothing if it names no
    // file), so that the look-up can happen outside whatever lock guards this object.
    CFile* Open(const char* path, UINT flags, const std::optional<FileIdentity>& current);
    // The kept descriptor for the same path and flags without looking at what the path names,
    // else the path opened anew; for a caller that locks the file and then checks what the path
    // names, which saves a look-up per use. The file stays valid until the next Open or Release.
    CFile* Reuse(const char* path, UINT flags);
    // The kept file for `path`, opened with `flags` if need be, holding its exclusive lock, with
    // its length read under the lock; nullptr if it cannot be opened. The lock is on the file the
    // path names once it is held: a file renamed over or deleted while we waited is let go and
    // the path opened again, however often other writers replace it meanwhile.
    CFile* OpenLocked(const char* path, UINT flags, std::uint64_t& length);
    // Which file is kept (valid while one is).
    const FileIdentity& Identity() const { return m_identity; }
    // Lets the descriptor go (after an error, or when the caller is done).
    void Release() { m_file.reset(); }

private:
    bool StillNames(const char* path, UINT flags, const std::optional<FileIdentity>& current) const;

    // Each retry follows a replacement that another writer finished, so a busy neighbour only
    // delays us; a browser deleting entry after entry replaces the file hundreds of times while a
    // writer that lost the race for its lock waits. Only a file system whose look-ups never name
    // the file that was opened runs out of attempts.
    static constexpr int kOpenAttempts = 100000;

    FileFactory m_makeFile;
    std::unique_ptr<CFile> m_file;  // the open file, if any
    std::string m_path;
    UINT m_flags = 0;
    FileIdentity m_identity;
};

// Holds the lock that CKeptFile::OpenLocked took for one update and releases it however the update
// ends. An update that ends in an exception lets the kept file go too, once the lock is released,
// so that the next update opens the file anew.
class KeptFileLock {
public:
    explicit KeptFileLock(CKeptFile& kept, CFile& file) : m_kept(kept), m_file(file) {}
    KeptFileLock(const KeptFileLock&) = delete;
    KeptFileLock& operator=(const KeptFileLock&) = delete;
    ~KeptFileLock();

private:
    CKeptFile& m_kept;
    CFile& m_file;
    const int m_exceptionsAtStart = std::uncaught_exceptions();
};
