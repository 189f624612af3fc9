#include "module/MonthFileRepair.h"

#include <algorithm>
#include <cerrno>

#include "platform/core/CFile.h"
#include "platform/core/FileReplace.h"

MonthFileRepair RepairMonthFile(const std::string& path, const RepairRule& rule) {
    CFile file;
    CFileException error(CFileException::none, 0, path, "open");
    if (!file.Open(path.c_str(), CFile::modeReadWrite | CFile::modeNoFollow | CFile::typeBinary, &error)) throw error;
    file.LockExclusive();
    std::vector<std::uint8_t> bytes(file.GetLength());
    if (file.ReadAt(0, bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size())
        throw CFileException(CFileException::endOfFile, EIO, path, "read");

    MonthFileRepair repair;
    const auto contents = rule(bytes);
    if (!contents) return repair;
    repair.repaired = true;
    repair.kept = contents->kept;
    repair.dropped = bytes.size() - std::min(bytes.size(), contents->bytes.size());
    repair.damage = contents->damage;
    // The lock stays on the old file until the new one has its name; a writer waiting for it
    // then finds that the name has moved on.
    repair.damagedCopy = ReplaceKeepingOld(path, contents->bytes, ".damaged");
    return repair;
}
