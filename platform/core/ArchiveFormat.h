#pragma once
// The object records of an archive. Each object is written as a 16-bit tag, then, the first
// time its class appears, the class (schema, name length, name), then the object's own data:
//
//   0x0000                       no object (a null pointer)
//   0xFFFF schema len name data  a new class and an object of it
//   0x8000 | class index, data   an object of a class already in the archive
//   index                        an object already in the archive (written again)
//
// Classes and objects share one index sequence that starts at 1, in the order of appearance.
// All numbers are little-endian.
#include <cstdint>

namespace archive {

constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kMaxIndex = 0x7FFE;  // beyond this the tags above would collide
constexpr std::uint32_t kFirstIndex = 1;     // index 0 is the null object

}  // namespace archive
