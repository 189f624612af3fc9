#pragma once
// Taking chosen entries out of a month file that writers may be appending to and updating at the
// same time, and nothing else.
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "log1/CLogRecordItem.h"
#include "platform/core/KeptFile.h"

// Under the writers' lock, reads the month file at `path` again and takes out each entry of
// `gone`: the one at its offset if that is still the entry (its update time may have been
// written since), else the first kept entry equal to it apart from the update time (the month
// was rewritten meanwhile); an entry found nowhere is gone already. The rest stays byte for byte
// and in its order, a torn tail included. The new file is written beside the old one and renamed
// over it before the lock is let go; a file left empty is deleted. Returns, for each whole entry
// of the file as read, whether it was taken out (nothing to take, or no file: none); nothing if
// the file could not be read or rewritten, which is then as it was.
std::optional<std::vector<bool>> RemoveEntries(const std::string& path, std::span<const CLogRecordItem> gone,
                                               const FileFactory& makeFile);
