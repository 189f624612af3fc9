#pragma once
// Files that fail where a test says, for any writer that opens its files through a FileFactory
// (the log and event writers take one in a constructor). A fault is armed for the n-th call of
// its kind from now, counted over every file the factory makes, and fires once:
//
//     FaultyFiles faults;
//     CLogManager2 writer(faults.Factory());
//     faults.FailWrite(2, 3);  // the second write from now puts 3 bytes down, then the disk is full
//
// Apart from the armed faults the files are plain CFiles on the real file system. They count
// without a lock: arm faults only while the writer is idle.
#include <memory>

#include "platform/core/KeptFile.h"

class FaultyFiles {
public:
    FaultyFiles();

    // The n-th Write or WriteAt writes its first `written` bytes (at most all of them), then
    // throws the CFileException a full disk gives, as a write cut short by the disk does.
    void FailWrite(int n, UINT written = 0);
    // The n-th Read or ReadAt returns at most `bytes` bytes, as a read cut short does.
    void ShortRead(int n, UINT bytes = 0);
    // The n-th SetLength throws an I/O error and leaves the length as it was.
    void FailSetLength(int n);

    // Makes the files. They share this object's plan and may outlive it.
    FileFactory Factory() const;

    struct Plan;  // the armed faults, shared by the files

private:
    std::shared_ptr<Plan> m_plan;
};
