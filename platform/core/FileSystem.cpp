#include "platform/core/FileSystem.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

BOOL FileExists(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0;
}

BOOL DeleteFileA(const char* path) { return ::unlink(path) == 0; }

bool MatchFilePattern(const char* pattern, const char* name) {
    // Iterative match with one backtrack point: the last '*' seen and where it started matching.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || *pattern == *name) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

BOOL CFileFind::FindFile(const char* pattern) {
    Close();
    const std::string full(pattern ? pattern : "*");
    const size_t slash = full.rfind('/');
    // A pattern without a folder searches the working folder; "/x*" searches the root.
    if (slash != std::string::npos) m_folder = full.substr(0, slash == 0 ? 1 : slash);
    const std::string leaf = full.substr(slash == std::string::npos ? 0 : slash + 1);

    DIR* dir = ::opendir(m_folder.empty() ? "." : m_folder.c_str());
    if (!dir) return FALSE;
    while (const dirent* entry = ::readdir(dir))
        if (MatchFilePattern(leaf.c_str(), entry->d_name)) m_names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(m_names.begin(), m_names.end());
    return m_names.empty() ? FALSE : TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (m_next < m_names.size()) ++m_next;
    return m_next < m_names.size() ? TRUE : FALSE;
}

void CFileFind::Close() {
    m_folder.clear();
    m_names.clear();
    m_next = 0;
}

std::string CFileFind::GetFileName() const {
    return m_next == 0 ? std::string() : m_names[m_next - 1];
}

std::string CFileFind::GetFilePath() const {
    if (m_next == 0) return {};
    std::string path = m_folder;
    if (!path.empty() && path.back() != '/') path.push_back('/');
    path.append(GetFileName());
    return path;
}

BOOL CFileFind::IsDirectory() const {
    struct stat st {};
    return m_next != 0 && ::stat(GetFilePath().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

BOOL CFileFind::IsDots() const {
    const std::string name = GetFileName();
    return name == "." || name == "..";
}
