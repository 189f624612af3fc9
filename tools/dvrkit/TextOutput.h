#pragma once
// Small formatting helpers shared by the tool's commands.
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

// A text in double quotes, with control bytes and quotes escaped, for plain output.
std::string QuoteText(std::string_view text);
// A time as "YYYY-MM-DD HH:MM:SS" in local time.
std::string LocalTimeText(std::uint32_t time);
// Prints `value` as indented JSON; bytes that are not UTF-8 are replaced, never refused.
void PrintJson(const nlohmann::json& value, std::ostream& out = std::cout);
