#include "HostResources.h"

#include <dvrkit/module/HostContract.h>

namespace {

void Put(std::vector<BYTE>& out, DWORD value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

// The strip as a 24-bit bitmap file: icons side by side, each one colour, rows bottom-up.
std::vector<BYTE> IconStripFile() {
    constexpr int kWidth = ExampleHostResources::kIconCount * host::kIconSize, kHeight = host::kIconSize;
    constexpr DWORD kStride = (kWidth * 3 + 3) / 4 * 4, kHeaders = 14 + 40;
    std::vector<BYTE> file;
    file.push_back('B');
    file.push_back('M');
    Put(file, kHeaders + kStride * kHeight, 4);
    Put(file, 0, 4);
    Put(file, kHeaders, 4);
    for (DWORD field : {40u, DWORD{kWidth}, DWORD{kHeight}}) Put(file, field, 4);
    Put(file, 1, 2);   // planes
    Put(file, 24, 2);  // bits per pixel
    for (int field = 0; field < 6; ++field) Put(file, 0, 4);  // uncompressed, sizes and colours unset
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF c = ExampleHostResources::IconColor(x / host::kIconSize);
            file.insert(file.end(), {static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c)});
        }
        file.resize(file.size() + kStride - kWidth * 3);
    }
    return file;
}

}  // namespace

ExampleHostResources::ExampleHostResources()
    : m_strings{
          // the log text block's labels, which also label a first-generation entry's lines
          {host::kStartTimeLabel, "Opened: "},
          {host::kEndTimeLabel, "Closed: "},
          {host::kNameLabel, "Log: "},
          {host::kFlagLabel, "Marked: "},
          {host::kRecordsHeading, "Entries: "},
          {host::kTypeLabel, "Kind: "},
          // first-generation types 0 to 4 and the flag
          {7435, "Power"}, {7436, "Video"}, {7439, "Settings"}, {7437, "LAN"}, {7438, "Fault"},
          {host::kFlagSetText, "yes"},
          {host::kFlagClearText, "no"},
          // two record formats: the recorder started, a user logged in
          {7325, "Recorder powered up"},
          {7333, "Operator %s signed in"},
          // event actions
          {host::kCameraAction, "Camera saw motion at %s\r\n"},
          {host::kAlarmOutputAction, "Siren on\r\n"},
      },
      m_iconStrip(IconStripFile()) {}

const char* ExampleHostResources::FindString(UINT id) const {
    const auto it = m_strings.find(id);
    return it == m_strings.end() ? nullptr : it->second.c_str();
}

std::span<const BYTE> ExampleHostResources::FindBitmap(UINT id) const {
    return id == host::kIconStripBitmap ? std::span<const BYTE>(m_iconStrip) : std::span<const BYTE>{};
}

COLORREF ExampleHostResources::IconColor(int index) {
    // Distinct, and never the strip's transparent magenta.
    return static_cast<COLORREF>(0x101010 * static_cast<unsigned>(index + 1)) & 0x00FFFFFF;
}
