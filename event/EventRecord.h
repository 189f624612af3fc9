#pragma once
// One camera or sensor event, and its stored form in the monthly event file "FOLDER/YYYYMM.evt":
// a plain sequence of 36-byte records with no header, in the order appended.
//
//   record = time:u32 channel:u32 actions:u32 reserved:u32(0)
//            source:u8 side:u8 reserved:u8(0) text:char[16] mark:u8(0x0A)
//
// Integers are little-endian; a record is valid only if its last byte is the mark.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/core/Types.h"

constexpr int kEventTextWidth = 16;  // up to 15 characters and a zero

enum EventSource : BYTE { kSourceCamera = 1, kSourceSensor = 2 };
enum EventSide : BYTE { kSideServer = 1, kSideClient = 2 };

struct _EVENT_LOG_ {
    DWORD time;      // time of the event
    DWORD channel;   // camera or sensor number, 1 to 16
    DWORD actions;   // action bits
    DWORD reserved;  // always 0
    BYTE source;     // EventSource
    BYTE side;       // EventSide
    BYTE reserved2;  // always 0
    char text[kEventTextWidth];
    BYTE mark;       // kMark when valid
};

namespace eventfile {

constexpr const char* kExtension = "evt";
constexpr std::uint8_t kMark = 0x0A;
constexpr size_t kRecordSize = 4 + 4 + 4 + 4 + 1 + 1 + 1 + kEventTextWidth + 1;
constexpr size_t kReservedOffset = 12;   // 4 bytes, always 0
constexpr size_t kReserved2Offset = 18;  // 1 byte, always 0
constexpr size_t kTextOffset = 19;
constexpr size_t kMarkOffset = 35;
static_assert(kRecordSize == 36);
static_assert(kTextOffset + kEventTextWidth == kMarkOffset);

void EncodeEvent(std::uint8_t* out, const _EVENT_LOG_& event);
_EVENT_LOG_ DecodeEvent(const std::uint8_t* in);

}  // namespace eventfile
