#include "module/MonthFileScan.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Whether `bytes` begin the header of a new file: what a first write cut short leaves.
bool BeginsNewHeader(const MonthFileUnits& family, const std::uint8_t* bytes, std::size_t n) {
    std::vector<std::uint8_t> fresh(family.headerSize);
    family.writeHeader(fresh.data(), 0);
    return std::equal(bytes, bytes + n, fresh.begin());
}

std::string Units(std::uint64_t n, const MonthFileUnits& family) {
    return std::to_string(n) + " " + family.unit + (n == 1 ? "" : "s");
}

// Where the scan stopped, judged by the rule: bytes after the last whole unit are one unfinished
// append only where the header counts exactly the units before them (under the writer's lock), or
// no fewer (a reader, after whom further appends may have begun).
void Judge(MonthFileScan& scan, const MonthFileUnits& family, const std::string& path,
           const std::optional<UnitFault>& fault, std::optional<std::uint64_t> secondUncounted, std::uint64_t length,
           ScanRule rule) {
    const bool reader = rule == ScanRule::reader;
    const auto damage = [&](std::uint64_t offset, std::string reason) {
        scan.damage = MonthFileDamage{path, offset, std::move(reason)};
    };
    if (fault) {
        if (!fault->cutShort) return damage(fault->offset, fault->reason);
        if (scan.counted && (scan.units < *scan.counted || (!reader && scan.units > *scan.counted)))
            return damage(fault->offset, fault->reason + ", but the header counts " + Units(*scan.counted, family) +
                                             ": only a " + family.unit + " after the counted ones can be unfinished");
        scan.tornBytes = length - scan.end;
        return;
    }
    if (!scan.counted) return;
    if (scan.units < *scan.counted)
        return damage(0, "the header counts " + Units(*scan.counted, family) + ", the file holds " +
                             Units(scan.units, family));
    if (secondUncounted && !reader)
        damage(*secondUncounted, "the header counts " + Units(*scan.counted, family) + ", the file holds " +
                                     Units(scan.units, family) + ": more than one append is uncounted");
}

}  // namespace

std::string DescribeDamage(const MonthFileDamage& damage) {
    return damage.path + ": damaged at offset " + std::to_string(damage.offset) + ": " + damage.reason;
}

std::optional<UnitFault> ReadFixedUnit(ByteStream& in, const UnitAt& at, std::size_t size, const UnitCheck& check,
                                       const OnWholeUnit& onWhole) {
    // Past the first, a whole unit is part of the file as it stands: only the first one tells the
    // family from foreign bytes, and a cut-off one from bytes that are no start of a unit. A unit
    // that fails is never read past, so a whole one is taken at once.
    if (const std::uint8_t* unit = in.Take(size)) {
        if (at.index == 0)
            if (std::string why = check(unit, size, at); !why.empty()) return UnitFault{at.start, std::move(why), false};
        if (onWhole) onWhole(unit, at);
        return std::nullopt;
    }
    const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(in.Remaining(), size));
    const std::uint8_t* unit = in.Peek(available);
    if (!unit) return UnitFault{at.start, "the file ended while it was read", true};
    if (std::string why = check(unit, available, at); !why.empty()) return UnitFault{at.start, std::move(why), false};
    return UnitFault{at.start, "it is cut off after " + std::to_string(available) + " of its " + std::to_string(size) + " bytes",
                     true};
}

MonthFileScan ScanMonthFile(const MonthFileUnits& family, const std::string& path, const std::uint8_t* header,
                            ByteStream& in, std::uint64_t length, ScanFrom from, ScanRule rule) {
    MonthFileScan scan;
    scan.length = length;
    if (length == 0) return scan;
    if (family.headerSize != 0) {
        if (length < family.headerSize) {
            if (BeginsNewHeader(family, header, length)) scan.tornBytes = length;
            else scan.damage = MonthFileDamage{path, 0, std::string("it is not a ") + family.kind + ": it is shorter than its header"};
            return scan;
        }
        std::uint32_t count = 0;
        if (auto fault = family.readHeader(header, count)) {
            scan.damage = MonthFileDamage{path, fault->offset, std::string("it is not a ") + family.kind + ": " + fault->reason};
            return scan;
        }
        scan.counted = count;
    }
    scan.end = std::max<std::uint64_t>(from.offset, family.headerSize);
    scan.units = from.units;
    const std::uint64_t base = scan.end;
    std::optional<UnitFault> fault;
    std::optional<std::uint64_t> secondUncounted;  // where a unit after one uncounted unit starts
    while (base + in.Offset() < length) {
        const std::uint64_t start = base + in.Offset();
        if (scan.counted && scan.units == std::uint64_t{*scan.counted} + 1 && !secondUncounted) secondUncounted = start;
        fault = family.readUnit(in, UnitAt{start, scan.units, path});
        if (fault) break;
        ++scan.units;
        scan.end = base + in.Offset();
    }
    Judge(scan, family, path, fault, secondUncounted, length, rule);
    return scan;
}

MonthFileScan ScanMonthBytes(const MonthFileUnits& family, const std::string& path,
                             std::span<const std::uint8_t> bytes, ScanRule rule) {
    const std::size_t skipped = std::min(bytes.size(), family.headerSize);
    ByteStream in(bytes.subspan(skipped));
    return ScanMonthFile(family, path, bytes.data(), in, bytes.size(), {}, rule);
}

MonthFileScan ScanOpenMonthFile(CFile& file, const MonthFileUnits& family, const std::string& path, ScanFrom from) {
    std::vector<std::uint8_t> header(family.headerSize);
    header.resize(file.ReadAt(0, header.data(), static_cast<UINT>(header.size())));
    std::uint64_t length = file.GetLength();
    // A header still being written: what there is of it is all the file holds for this look.
    if (header.size() < family.headerSize) length = std::min<std::uint64_t>(length, header.size());
    file.Seek(static_cast<std::int64_t>(std::max<std::uint64_t>(from.offset, family.headerSize)), CFile::begin);
    ByteStream in(file);
    return ScanMonthFile(family, path, header.data(), in, length, from, ScanRule::reader);
}

std::optional<std::vector<std::uint8_t>> ReadMonthFile(const std::string& path, std::size_t headerSize,
                                                       std::string& why) {
    CFile file;
    CFileException error(CFileException::none, 0, path, "open");
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::modeNoFollow | CFile::typeBinary, &error)) {
        why = error.m_lOsError == EINVAL || error.m_lOsError == ELOOP
                  ? "it is not a plain file (a symbolic link, a FIFO or a device) and is not read"
                  : std::strerror(error.m_lOsError);
        return std::nullopt;
    }
    try {
        std::vector<std::uint8_t> header(headerSize);
        if (headerSize) header.resize(file.ReadAt(0, header.data(), static_cast<UINT>(headerSize)));
        std::vector<std::uint8_t> bytes(file.GetLength());
        if (!bytes.empty()) bytes.resize(file.ReadAt(0, bytes.data(), static_cast<UINT>(bytes.size())));
        // The header as it stood before the length was taken: every unit it counts is in the bytes.
        if (bytes.size() >= header.size()) std::copy(header.begin(), header.end(), bytes.begin());
        return bytes;
    } catch (const CFileException& e) {
        why = std::strerror(e.m_lOsError);
        return std::nullopt;
    }
}
