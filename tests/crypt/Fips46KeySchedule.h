#pragma once
// A plain reference of the FIPS 46 key schedule (PC-1, rotations, PC-2), written bit by bit for
// clarity rather than speed, and the mapping of its subkeys onto the system's round-key pairs.
// With it, our data path can be compared with any standard DES under a standard key.
#include <array>
#include <cstdint>

#include "crypt/KeySchedule.h"

// The 16 subkeys of the 8-byte DES key `key`; subkey bit b (1..48) at array index b - 1.
using Subkey = std::array<std::uint8_t, 48>;
std::array<Subkey, 16> Fips46Subkeys(const std::uint8_t key[8]);

// Round-key pairs that make our data path compute standard DES under `key`.
RoundKeys RoundKeysForDesKey(const std::uint8_t key[8]);
