#include "tools/dvrkit/MonthFileInput.h"

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/FileBytes.h"

MonthFileInput ReadMonthFileInput(const std::string& path, const MonthFileUnits& family) {
    MonthFileInput input;
    if (path == "-") {
        input.bytes = ReadFileBytes(path);
    } else {
        std::string why;
        auto bytes = ReadMonthFile(path, family.headerSize, why);
        if (!bytes) throw CommandError{path + ": " + why};
        input.bytes = std::move(*bytes);
    }
    input.scan = ScanMonthBytes(family, path, input.bytes, ScanRule::reader);
    return input;
}

void RefuseDamage(const MonthFileInput& input, const MonthFileUnits& family, const MonthFileUnits* rival) {
    if (!input.scan.damage) return;
    const MonthFileDamage& damage = *input.scan.damage;
    if (rival) {
        const MonthFileScan asRival = ScanMonthBytes(*rival, damage.path, input.bytes, ScanRule::reader);
        if (!asRival.damage && asRival.units != 0)
            throw CommandError{damage.path + ": this is a " + rival->kind + ", not a " + family.kind, 2};
    }
    throw CommandError{DescribeDamage(damage), 2};
}
