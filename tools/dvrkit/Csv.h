#pragma once
// One line of comma-separated values: fields may be quoted with '"', a doubled quote standing
// for one quote inside.
#include <optional>
#include <string>
#include <vector>

struct CsvField {
    std::string text;
    bool quoted = false;
};

// The fields of `line`, or nothing when a quoted field is not closed.
std::optional<std::vector<CsvField>> SplitCsvLine(const std::string& line);
