#include "platform/core/KeptFile.h"

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

bool CKeptFile::StillNamedBy(const char* path) const {
    const std::optional<FileIdentity> current = CFile::IdentityOf(path);
    return m_file && current && *current == m_identity;
}
