#include "tools/dvrkit/Csv.h"

std::optional<std::vector<CsvField>> SplitCsvLine(const std::string& line) {
    std::vector<CsvField> fields(1);
    bool inQuotes = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        CsvField& field = fields.back();
        if (inQuotes) {
            if (c != '"') {
                field.text += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                field.text += '"';
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '"' && field.text.empty() && !field.quoted) {
            inQuotes = field.quoted = true;
        } else if (c != '\r') {
            field.text += c;
        }
    }
    if (inQuotes) return std::nullopt;
    return fields;
}
