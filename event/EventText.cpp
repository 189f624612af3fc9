#include "event/EventText.h"

#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/CString.h"
#include "platform/core/CTime.h"
#include "platform/core/PrintfSignature.h"

namespace {

constexpr DWORD kActionBit = 0x1;       // the event's main action: the source's action text
constexpr DWORD kAlarmOutputBit = 0x2;  // the alarm output was switched on (server side only)

// A host format filled with the event's text, when it asks for exactly that.
std::string FilledWithText(UINT id, const _EVENT_LOG_& event) {
    const std::string format = HostText(id);
    if (PrintfSignature(format.c_str(), kMaxForeignFormatField) != "s") return format;
    CString text;
    text.Format(format.c_str(), std::string(ReadFixedText(event.text)).c_str());
    return text.str();
}

// The time line, the source line and the action heading, which both sides share.
std::string Heading(const _EVENT_LOG_& event) {
    std::string out = "Time : " + CTime(event.time).Format("%Y-%m-%d %H:%M:%S").str() + "\r\n";
    if (event.source == kSourceCamera) out += "Camera : " + std::to_string(event.channel) + "\r\n";
    if (event.source == kSourceSensor) out += "Sensor : " + std::to_string(event.channel) + "\r\n";
    return out + "\r\nAction :\r\n------------\r\n";
}

}  // namespace

std::string ServerMessageText(const _EVENT_LOG_& event) {
    std::string out = Heading(event);
    if (event.source != kSourceCamera && event.source != kSourceSensor) return out;
    if (event.actions & kActionBit)
        out += FilledWithText(event.source == kSourceCamera ? host::kCameraAction : host::kSensorAction, event);
    if (event.actions & kAlarmOutputBit) out += HostText(host::kAlarmOutputAction);
    return out;
}

std::string ClientMessageText(const _EVENT_LOG_& event) {
    std::string out = Heading(event);
    if (event.actions & kActionBit) {
        if (event.source == kSourceCamera) out += FilledWithText(host::kClientCameraAction, event);
        if (event.source == kSourceSensor) out += FilledWithText(host::kClientSensorAction, event);
    }
    return out;
}

std::string EventPaneText(const _EVENT_LOG_& event) {
    if (event.side == kSideServer) return ServerMessageText(event);
    if (event.side == kSideClient) return ClientMessageText(event);
    return {};
}
