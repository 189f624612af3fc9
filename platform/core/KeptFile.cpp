#include "platform/core/KeptFile.h"

bool CKeptFile::StillNames(const char* path, UINT flags) const {
    if (!m_file.IsOpen() || m_path != path || m_flags != flags) return false;
    const auto now = CFile::IdentityOf(path);
    return now && *now == m_identity;
}

CFile* CKeptFile::Open(const char* path, UINT flags) {
    if (StillNames(path, flags)) return &m_file;
    m_file.Abort();
    if (!m_file.Open(path, flags)) return nullptr;
    m_path = path;
    m_flags = flags;
    m_identity = m_file.GetIdentity();
    return &m_file;
}
