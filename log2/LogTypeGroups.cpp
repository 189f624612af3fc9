#include "log2/LogTypeGroups.h"

#include "module/HostText.h"

namespace {

// The table turned round, built once at compile time: a day of many logs asks for each one.
constexpr std::array<signed char, 256> GroupOfType() {
    std::array<signed char, 256> groupOf{};
    groupOf.fill(-1);
    for (int g = 0; g < kLogTypeGroupCount; ++g)
        if (kLogTypeGroups[g].HoldsLogs())
            for (int type = kLogTypeGroups[g].firstType; type <= kLogTypeGroups[g].lastType; ++type)
                groupOf[type] = static_cast<signed char>(g);
    return groupOf;
}
constexpr auto kGroupOfType = GroupOfType();

}  // namespace

int TypeGroupOf(BYTE type) { return kGroupOfType[type]; }

TypeLabels LoadTypeLabels() {
    TypeLabels labels;
    for (int i = 0; i < host::kTypeGroupLabels; ++i)
        labels[i] = HostText(host::kFirstTypeGroupLabel + static_cast<UINT>(i)).substr(0, 31);
    labels[kErrorLabel] = "Error";
    return labels;
}

std::string TypeGroupPath(const TypeLabels& labels, int group) {
    const LogTypeGroup& g = kLogTypeGroups[group];
    const std::string& own = labels[g.label];
    return g.parent == kNoParentGroup ? own : TypeGroupPath(labels, g.parent) + " / " + own;
}
