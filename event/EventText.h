#pragma once
// What the event browser's text pane says about an event: its time, its source and channel, and
// its actions in the host's words. Host strings 61220, 61221, 61223 and 61224 are printf formats
// that take the event's text; a host string whose conversions would read anything but that one
// text is shown as it stands, never filled.
#include <string>

#include "event/EventRecord.h"

// The text of an event that happened on the server side (side 1).
std::string ServerMessageText(const _EVENT_LOG_& event);
// The text of an event that happened on the client side (side 2).
std::string ClientMessageText(const _EVENT_LOG_& event);
// The pane's text for an event: by its side, and empty for any side but 1 and 2.
std::string EventPaneText(const _EVENT_LOG_& event);
