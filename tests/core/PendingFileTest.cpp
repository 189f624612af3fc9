// PendingFile: a new file that takes a path's place only once it is complete, and that a writer
// killed while writing does not leave behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/PendingFile.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A process id that no process has any more.
pid_t GonePid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(PendingFile, TakesTheTargetsPlaceOnlyOnceComplete) {
    TempDir dir;
    const std::string target = dir.file("out");
    Put(target, "old");
    PendingFile file;
    ASSERT_TRUE(file.Create(target, 0640));
    ASSERT_EQ(::write(file.Descriptor(), "new", 3), 3);
    std::ofstream(file.Path(), std::ios::app) << "er";  // a writer that opens a path reaches it too
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"out"}) << "it has no name meanwhile";
    EXPECT_EQ(Contents(target), "old");
    ASSERT_TRUE(file.PutInPlace());
    EXPECT_EQ(Contents(target), "newer");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"out"});
}

TEST(PendingFile, LeavesNothingUnlessPutInPlace) {
    TempDir dir;
    {
        PendingFile file;
        ASSERT_TRUE(file.Create(dir.file("out"), 0644));
        ASSERT_EQ(::write(file.Descriptor(), "partial", 7), 7);
    }
    EXPECT_TRUE(Names(dir.path()).empty());
}

// Killed outright, a writer has no chance to clean up: the file must have had no name.
TEST(PendingFile, AWriterKilledWhileWritingLeavesNothing) {
    TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
        PendingFile file;
        const bool made = file.Create(dir.file("out"), 0644) && ::write(file.Descriptor(), "partial", 7) == 7;
        if (::write(ready[1], made ? "y" : "n", 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char made = 0;
    ASSERT_EQ(::read(ready[0], &made, 1), 1);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(made, 'y');
    EXPECT_TRUE(Names(dir.path()).empty());
}

// Where the file system has no unnamed files, pending files are named after their process; the
// next one made for the same target removes those whose process is gone, and nothing else.
TEST(PendingFile, RemovesNamedFilesLeftByProcessesThatAreGone) {
    TempDir dir;
    const std::string gone = std::to_string(GonePid()), self = std::to_string(::getpid());
    const std::vector<std::string> kept = {
        "out",                       // the target itself
        "out.1-0.new",               // a process still running
        "out." + self + "-9.new",    // this process's own
        "other." + gone + "-0.new",  // another target's
        "out." + gone + ".new",      // not a pending file's name
        "out." + gone + "-0.new.txt",
    };
    for (const std::string& name : kept) Put(dir.file(name), "x");
    Put(dir.file("out." + gone + "-0.new"), "x");
    Put(dir.file("out." + gone + "-12.new"), "x");
    PendingFile file;
    ASSERT_TRUE(file.Create(dir.file("out"), 0644));
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(dir.path()), expected);
}

}  // namespace
