#include "event/EventRecord.h"

#include <cstring>

#include "platform/core/LittleEndian.h"

namespace eventfile {

void EncodeEvent(std::uint8_t* out, const _EVENT_LOG_& event) {
    PutU32(out, event.time);
    PutU32(out + 4, event.channel);
    PutU32(out + 8, event.actions);
    PutU32(out + 12, event.reserved);
    out[16] = event.source;
    out[17] = event.side;
    out[18] = event.reserved2;
    std::memcpy(out + kTextOffset, event.text, kEventTextWidth);
    out[kMarkOffset] = event.mark;
}

_EVENT_LOG_ DecodeEvent(const std::uint8_t* in) {
    _EVENT_LOG_ event{};
    event.time = GetU32(in);
    event.channel = GetU32(in + 4);
    event.actions = GetU32(in + 8);
    event.reserved = GetU32(in + 12);
    event.source = in[16];
    event.side = in[17];
    event.reserved2 = in[18];
    std::memcpy(event.text, in + kTextOffset, kEventTextWidth);
    event.mark = in[kMarkOffset];
    return event;
}

}  // namespace eventfile
