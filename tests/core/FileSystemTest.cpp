#include <gtest/gtest.h>

#include "platform/core/CFile.h"
#include "platform/core/FileSystem.h"
#include "tests/support/TempDir.h"

TEST(FilePattern, StarAndQuestionMark) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.log", "200504.log", true},   {"*.log", "200504.evt", false}, {"*.log", ".log", true},
        {"??????.log", "200504.log", true}, {"??????.log", "20054.log", false}, {"*", "", true},
        {"a*b*c", "axxbyyc", true},      {"a*b*c", "axxbyy", false},     {"*.*", "noext", false},
        {"2005*.log", "200512.log", true}, {"*.log", "x.log.bak", false}, {"*a", "banana", true},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchFilePattern(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
}

TEST(CFileFind, VisitsEveryMatchInNameOrder) {
    TempDir dir;
    for (const char* name : {"200505.log", "200504.log", "notes.log", "200504.evt"}) WriteBytes(dir.file(name), {1});
    CFileFind find;
    std::vector<std::string> seen;
    BOOL more = find.FindFile((dir.path() + "/??????.log").c_str());
    while (more) {
        more = find.FindNextFile();
        seen.push_back(find.GetFileName());
        EXPECT_EQ(find.GetFilePath(), dir.file(find.GetFileName()));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"200504.log", "200505.log"}));
    EXPECT_FALSE(find.FindFile((dir.path() + "/*.none").c_str()));
    EXPECT_FALSE(find.FindFile("/no/such/folder/*"));
}

TEST(CFile, ErrorsBecomeFileExceptions) {
    TempDir dir;
    CFile file;
    CFileException error(CFileException::none, 0, "", "open");
    EXPECT_FALSE(file.Open(dir.file("missing").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);

    ASSERT_TRUE(file.Open("/dev/full", CFile::modeWrite));
    try {
        file.Write("x", 1);
        FAIL() << "a write to a full device must throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_strFileName, "/dev/full");
    }
}

TEST(CFile, ReadsWritesSeeksAndSizes) {
    TempDir dir;
    CFile file;
    ASSERT_TRUE(file.Open(dir.file("f").c_str(), CFile::modeReadWrite | CFile::modeCreate));
    file.Write("abcdef", 6);
    EXPECT_EQ(file.GetLength(), 6u);
    file.Seek(2, CFile::begin);
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, 8), 4u) << "a short read only at the end";
    EXPECT_STREQ(buf, "cdef");
    file.SetLength(3);
    EXPECT_EQ(file.SeekToEnd(), 3u);
    file.Close();
    EXPECT_TRUE(FileExists(dir.file("f").c_str()));
    EXPECT_TRUE(DeleteFileA(dir.file("f").c_str()));
    EXPECT_FALSE(FileExists(dir.file("f").c_str()));
}
