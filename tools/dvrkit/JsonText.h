#pragma once
// JSON written without building a document: strings and numbers appended to a line the caller
// reuses, byte for byte as the tool's JSON documents write them (nlohmann's dump with errors
// replaced): UTF-8 kept as it is, control characters escaped, and each byte sequence that is not
// well-formed UTF-8 replaced by U+FFFD, one for each maximal start of a character.
#include <cstdint>
#include <string>
#include <string_view>

// Appends `text` as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view text);
// Appends `value` as a JSON number.
void AppendJsonNumber(std::string& out, std::int64_t value);
