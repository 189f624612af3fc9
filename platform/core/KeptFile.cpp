#include "platform/core/KeptFile.h"

bool CKeptFile::StillNames(const char* path, UINT flags, const std::optional<FileIdentity>& current) const {
    return m_file.IsOpen() && m_path == path && m_flags == flags && current && *current == m_identity;
}

CFile* CKeptFile::Open(const char* path, UINT flags) { return Open(path, flags, CFile::IdentityOf(path)); }

CFile* CKeptFile::Open(const char* path, UINT flags, const std::optional<FileIdentity>& current) {
    if (StillNames(path, flags, current)) return &m_file;
    m_file.Abort();
    if (!m_file.Open(path, flags)) return nullptr;
    m_path = path;
    m_flags = flags;
    m_identity = m_file.GetIdentity();
    return &m_file;
}
