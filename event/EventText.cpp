#include "event/EventText.h"

#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/PrintfSignature.h"

namespace {

constexpr DWORD kActionBit = 0x1;       // the event's main action: the source's action text
constexpr DWORD kAlarmOutputBit = 0x2;  // the alarm output was switched on (server side only)

}  // namespace

const EventTextRenderer::HostFormat& EventTextRenderer::Format(UINT id) {
    auto [it, added] = m_formats.try_emplace(id);
    if (added) {
        HostFormat& format = it->second;
        format.text = HostText(id);
        format.filled = PrintfSignature(format.text.c_str(), kMaxForeignFormatField) == "s";
        if (format.filled) format.compiled = CompiledFormat(format.text);
    }
    return it->second;
}

// A host format filled with the event's text, when it asks for exactly that.
void EventTextRenderer::AppendFilled(std::string& out, UINT id, const _EVENT_LOG_& event) {
    const HostFormat& format = Format(id);
    if (!format.filled) return void(out += format.text);
    const std::string text(ReadFixedText(event.text));
    const CompiledFormat::Arg args[] = {text.c_str()};
    format.compiled.AppendTo(out, args);
}

// The time line, the source line and the action heading, which both sides share.
void EventTextRenderer::AppendHeading(std::string& out, const _EVENT_LOG_& event) {
    char time[LocalTimeTexts::kSize];
    out += "Time : ";
    out.append(time, m_times.DateTime(time, event.time));
    out += "\r\n";
    if (event.source == kSourceCamera) out += "Camera : " + std::to_string(event.channel) + "\r\n";
    if (event.source == kSourceSensor) out += "Sensor : " + std::to_string(event.channel) + "\r\n";
    out += "\r\nAction :\r\n------------\r\n";
}

void EventTextRenderer::AppendServerMessage(std::string& out, const _EVENT_LOG_& event) {
    AppendHeading(out, event);
    if (event.source != kSourceCamera && event.source != kSourceSensor) return;
    if (event.actions & kActionBit)
        AppendFilled(out, event.source == kSourceCamera ? host::kCameraAction : host::kSensorAction, event);
    if (event.actions & kAlarmOutputBit) out += Format(host::kAlarmOutputAction).text;
}

void EventTextRenderer::AppendClientMessage(std::string& out, const _EVENT_LOG_& event) {
    AppendHeading(out, event);
    if (event.actions & kActionBit) {
        if (event.source == kSourceCamera) AppendFilled(out, host::kClientCameraAction, event);
        if (event.source == kSourceSensor) AppendFilled(out, host::kClientSensorAction, event);
    }
}

void EventTextRenderer::AppendPaneText(std::string& out, const _EVENT_LOG_& event) {
    if (event.side == kSideServer) AppendServerMessage(out, event);
    if (event.side == kSideClient) AppendClientMessage(out, event);
}

std::string ServerMessageText(const _EVENT_LOG_& event) {
    std::string out;
    EventTextRenderer().AppendServerMessage(out, event);
    return out;
}

std::string ClientMessageText(const _EVENT_LOG_& event) {
    std::string out;
    EventTextRenderer().AppendClientMessage(out, event);
    return out;
}

std::string EventPaneText(const _EVENT_LOG_& event) {
    std::string out;
    EventTextRenderer().AppendPaneText(out, event);
    return out;
}
