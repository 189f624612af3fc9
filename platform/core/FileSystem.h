#pragma once
// Whole-file operations of the platform: existence, deletion, folder search.
#include <string>
#include <vector>

#include "platform/core/Types.h"

// TRUE if `path` names an existing file or folder.
BOOL FileExists(const char* path);
// Deletes a file; FALSE if it could not be deleted.
BOOL DeleteFileA(const char* path);
// Matches a whole name against a pattern of literal characters, '*' (any run) and '?' (any one
// character), case-sensitively as the file system is.
bool MatchFilePattern(const char* pattern, const char* name);

// Folder search in the shape of the framework's CFileFind. The pattern's last component may
// hold '*' and '?'. Matches are visited in name order:
//     BOOL more = find.FindFile("dir/*.log");
//     while (more) { more = find.FindNextFile(); use(find.GetFilePath()); }
class CFileFind {
public:
    BOOL FindFile(const char* pattern = "*");
    // Moves to the next match; returns FALSE when the match it moved to is the last one.
    BOOL FindNextFile();
    void Close();

    std::string GetFileName() const;
    std::string GetFilePath() const;
    BOOL IsDirectory() const;
    BOOL IsDots() const;

private:
    std::string m_folder;
    std::vector<std::string> m_names;
    size_t m_next = 0;   // index of the match FindNextFile moves to
};
