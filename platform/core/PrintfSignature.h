#pragma once
// The arguments a printf format consumes, as a string of kinds: 'i' for a 32-bit integer
// (d, i, u, x, X, o, c, and a '*' width or precision), 's' for a zero-terminated text. A format
// that uses anything else (length modifiers wider than int, floating point, pointers, %n,
// positional arguments) or ends inside a conversion has no signature: formatting it with
// 32-bit numbers and texts would read arguments that were never passed.
#include <climits>
#include <optional>
#include <string>

// With `maxField`, a format whose width or precision is written larger, or is taken from an
// argument ('*'), has no signature either: the length of its text would have no bound that the
// format shows, and a number of 2^31 - 1 pads a single conversion to 2 GB.
std::optional<std::string> PrintfSignature(const char* format, int maxField = INT_MAX);

// The bound for formats from outside the library (the host's strings): wide enough for any
// column a text lines up, while one record's text stays small.
constexpr int kMaxForeignFormatField = 255;
