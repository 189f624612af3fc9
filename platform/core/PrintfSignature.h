#pragma once
// The arguments a printf format consumes, as a string of kinds: 'i' for a 32-bit integer
// (d, i, u, x, X, o, c, and a '*' width or precision), 's' for a zero-terminated text. A format
// that uses anything else (length modifiers wider than int, floating point, pointers, %n,
// positional arguments) or ends inside a conversion has no signature: formatting it with
// 32-bit numbers and texts would read arguments that were never passed.
#include <optional>
#include <string>

std::optional<std::string> PrintfSignature(const char* format);
