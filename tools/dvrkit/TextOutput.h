#pragma once
// Small formatting helpers shared by the tool's commands.
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

// A text for a terminal: control characters (C0 but the line feed and a carriage return before
// one, DEL, and C1 as UTF-8 writes
// them) and bytes that are not UTF-8 become "\xHH" (ESC is "\x1b"), so that no text from a file
// can move the cursor, change colours or retitle the window.
std::string ShownText(std::string_view text);
// The same appended to `out`, for output gathered in one buffer.
void AppendShownText(std::string& out, std::string_view text);
// A text in double quotes, escaped as ShownText does and with its quotes, backslashes and line
// feeds escaped too, for plain output.
std::string QuoteText(std::string_view text);
// A time as "YYYY-MM-DD HH:MM:SS" in local time.
std::string LocalTimeText(std::uint32_t time);
// Gives standard output a buffer large enough that most commands' whole output meets the final
// flush, where a failed write still carries its reason; a terminal keeps its line buffering.
void BufferStandardOutput();
// Flushes standard output; raises CommandError naming it when anything written there was lost,
// so that no command reports success for output that did not arrive.
void CheckStandardOutput();
// Prints `value` as indented JSON; bytes that are not UTF-8 are replaced, never refused.
void PrintJson(const nlohmann::json& value, std::ostream& out = std::cout);
