#pragma once
// What the event browser's text pane says about an event: its time, its source and channel, and
// its actions in the host's words. Host strings 61220, 61221, 61223 and 61224 are printf formats
// that take the event's text; a host string whose conversions would read anything but that one
// text is shown as it stands, never filled.
#include <string>
#include <unordered_map>

#include "event/EventRecord.h"
#include "platform/core/CompiledFormat.h"
#include "platform/core/LocalTimeTexts.h"

// The pane's texts of many events, with no look-up per event: host strings are looked up and
// their formats prepared once per renderer, and local times converted without a look-up of the
// zone for each.
class EventTextRenderer {
public:
    // The text of an event that happened on the server side (side 1).
    void AppendServerMessage(std::string& out, const _EVENT_LOG_& event);
    // The text of an event that happened on the client side (side 2).
    void AppendClientMessage(std::string& out, const _EVENT_LOG_& event);
    // The pane's text: by the event's side, and nothing for any side but 1 and 2.
    void AppendPaneText(std::string& out, const _EVENT_LOG_& event);

private:
    struct HostFormat {
        std::string text;
        bool filled = false;      // its conversions read exactly the event's text
        CompiledFormat compiled;  // the text prepared for filling, where it is filled
    };
    const HostFormat& Format(UINT id);
    void AppendFilled(std::string& out, UINT id, const _EVENT_LOG_& event);
    void AppendHeading(std::string& out, const _EVENT_LOG_& event);

    std::unordered_map<UINT, HostFormat> m_formats;
    LocalTimeTexts m_times;
};

// The same texts of one event, each from a renderer of its own.
std::string ServerMessageText(const _EVENT_LOG_& event);
std::string ClientMessageText(const _EVENT_LOG_& event);
std::string EventPaneText(const _EVENT_LOG_& event);
