#pragma once
// The log browser's type tree as data: which groups it shows, in which order and under which
// parent, with which label and icon, and which log types each holds. The browser window inserts
// its items by walking this table; the tool prints a day by walking it too.
#include <array>
#include <string>

#include "module/HostContract.h"
#include "platform/core/Types.h"

struct LogTypeGroup {
    int label;       // index into the type labels (see LoadTypeLabels)
    int parent;      // index of the parent group in kLogTypeGroups, or kNoParentGroup
    int icon;        // place in the host's icon strip
    BYTE firstType;  // the log types the group holds, first to last; 0 when it holds none and
    BYTE lastType;   // only gathers sub-groups (it shows no count then)

    constexpr bool HoldsLogs() const { return firstType != 0; }
};

constexpr int kNoParentGroup = -1;

// The six labels: host strings 7799 to 7803 (system, search and playback, setup, network, other)
// and the literal "Error".
constexpr int kTypeLabelCount = host::kTypeGroupLabels + 1;
constexpr int kErrorLabel = kTypeLabelCount - 1;

// In display order, every parent before its children. A group with children is shown expanded.
// The error group also holds every type above 8, so that no log of a day goes unlisted; type 0
// belongs to no group and is never listed.
inline constexpr std::array<LogTypeGroup, 9> kLogTypeGroups = {{
    {0, kNoParentGroup, host::kFirstTypeGroupIcon, 1, 1},
    {1, kNoParentGroup, host::kFirstTypeGroupIcon + 1, 2, 2},
    {2, kNoParentGroup, host::kFirstTypeGroupIcon + 2, 3, 3},
    {3, kNoParentGroup, host::kNetworkGroupIcon, 0, 0},
    {0, 3, host::kFirstTypeGroupIcon, 4, 4},
    {1, 3, host::kFirstTypeGroupIcon + 1, 5, 5},
    {2, 3, host::kFirstTypeGroupIcon + 2, 6, 6},
    {4, kNoParentGroup, host::kOtherGroupIcon, 7, 7},
    {kErrorLabel, kNoParentGroup, host::kErrorGroupIcon, 8, 255},
}};
constexpr int kLogTypeGroupCount = static_cast<int>(kLogTypeGroups.size());

using TypeLabels = std::array<std::string, kTypeLabelCount>;

// The group that holds a log type, or -1 (type 0).
int TypeGroupOf(BYTE type);
// Loads the labels from the host's strings (each cut to 31 characters, as the window's label
// fields hold them).
TypeLabels LoadTypeLabels();
// A group's label with its parents' before it, for a listing without a tree ("Network / System").
std::string TypeGroupPath(const TypeLabels& labels, int group);
