#include "platform/core/KeptFile.h"

#include <cerrno>

CKeptFile::CKeptFile(FileFactory makeFile)
    : m_makeFile(makeFile ? std::move(makeFile) : [] { return std::make_unique<CFile>(); }) {}

bool CKeptFile::StillNames(const char* path, UINT flags, const std::optional<FileIdentity>& current) const {
    return m_file && m_file->IsOpen() && m_path == path && m_flags == flags && current && *current == m_identity;
}

CFile* CKeptFile::Open(const char* path, UINT flags) { return Open(path, flags, CFile::IdentityOf(path)); }

CFile* CKeptFile::Open(const char* path, UINT flags, const std::optional<FileIdentity>& current) {
    if (StillNames(path, flags, current)) return m_file.get();
    Release();
    std::unique_ptr<CFile> file = m_makeFile();
    if (!file || !file->Open(path, flags)) return nullptr;
    m_file = std::move(file);
    m_path = path;
    m_flags = flags;
    m_identity = m_file->GetIdentity();
    return m_file.get();
}

CFile* CKeptFile::Reuse(const char* path, UINT flags) {
    return Open(path, flags, m_file ? std::optional(m_identity) : std::nullopt);
}

CFile* CKeptFile::OpenLocked(const char* path, UINT flags, std::uint64_t& length) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        // What the path names is only worth looking at once the lock is held.
        CFile* file = Reuse(path, flags);
        if (!file) return nullptr;
        file->LockExclusive();
        // One look-up both checks the file and gives its length; no other writer can change the
        // length while the lock is held.
        const auto named = CFile::IdentityAndLengthOf(path);
        if (named && named->first == m_identity) {
            length = named->second;
            return file;
        }
        Release();
    }
    errno = ESTALE;
    return nullptr;
}

KeptFileLock::~KeptFileLock() {
    try {
        m_file.Unlock();
    } catch (const CFileException&) {
        // Closing the file releases the lock all the same.
    }
    if (std::uncaught_exceptions() > m_exceptionsAtStart) m_kept.Release();
}
