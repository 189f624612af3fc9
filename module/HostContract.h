#pragma once
// What the library asks of its host's resources: every string identifier it loads from the host's
// string table and the bitmap its browsers take their icons from, with the icons' places in that
// bitmap. A host (the default one in host/, or a real recorder's) supplies a text for each string
// and the icon strip; a missing string shows as its identifier (module/HostText.h).
#include <array>

#include "platform/core/Types.h"

namespace host {

// ---- Bitmaps -------------------------------------------------------------------------------

// A horizontal strip of 16 x 16 icons; magenta (0xFF00FF) is transparent.
constexpr UINT kIconStripBitmap = 6082;
constexpr int kIconSize = 16;
constexpr COLORREF kIconMask = 0xFF00FF;

// Places in the icon strip.
enum Icon : int {
    kMonthIcon = 0,
    kDayIcon = 2,           // days, logs, first-generation entries and events
    kFirstTypeGroupIcon = 3,  // the log browsers' type groups take 3 onwards, one each
    kNetworkGroupIcon = 6,
    kOtherGroupIcon = 7,
    kErrorGroupIcon = 8,
    kChannelIcon = 9,
    kCameraGroupIcon = 11,
    kSensorGroupIcon = 12,
};

// ---- Strings of the second-generation log --------------------------------------------------

// Labels of a log's text block; 7440 to 7445 also label a first-generation entry's six lines.
constexpr UINT kStartTimeLabel = 7440;
constexpr UINT kEndTimeLabel = 7441;
constexpr UINT kNameLabel = 7442;
constexpr UINT kFlagLabel = 7443;
constexpr UINT kRecordsHeading = 7444;
constexpr UINT kTypeLabel = 7445;

// Where a network record came from: the network, the recorder itself, a web client.
constexpr UINT kNetworkSourceName = 7602;
constexpr UINT kLocalSourceName = 7848;
constexpr UINT kWebSourceName = 7626;

// The log browser's type groups: system, search and playback, setup, network, other. The event
// browser lists events of an unknown source under the last of them.
constexpr UINT kFirstTypeGroupLabel = 7799;
constexpr int kTypeGroupLabels = 5;
constexpr UINT kOtherGroupLabel = kFirstTypeGroupLabel + kTypeGroupLabels - 1;

// ---- Strings of the event browser ----------------------------------------------------------

constexpr UINT kCameraGroupLabel = 61218;
constexpr UINT kSensorGroupLabel = 61219;
// Actions of a server-side event: camera (one text argument), sensor (one text argument), and
// the alarm output switched on (no argument).
constexpr UINT kCameraAction = 61220;
constexpr UINT kSensorAction = 61221;
constexpr UINT kAlarmOutputAction = 61222;
// Actions of a client-side event, camera and sensor (one text argument each).
constexpr UINT kClientCameraAction = 61223;
constexpr UINT kClientSensorAction = 61224;

// ---- Strings of the first-generation log ---------------------------------------------------

// Labels of the record types 0 to 4, in type order (also the texts of a record saved without one).
constexpr std::array<UINT, 5> kEntryTypeLabels = {7435, 7436, 7439, 7437, 7438};
constexpr UINT kNoLogFileMessage = 7446;
constexpr UINT kCannotOpenMessage = 7447;
constexpr UINT kBadLengthMessage = 7448;
constexpr UINT kFlagSetText = 7449;
constexpr UINT kFlagClearText = 7450;

// ---- Strings of the calendar ---------------------------------------------------------------

constexpr UINT kFirstWeekdayName = 7414;  // Sunday to Saturday
constexpr UINT kFirstMonthName = 7421;    // January to December
constexpr UINT kNextMonthCaption = 7433;
constexpr UINT kPreviousMonthCaption = 7434;

// ---- Every string identifier, as inclusive ranges ------------------------------------------

struct IdRange {
    UINT first, last;
};
// Besides the names above, the ranges hold the message formats of the second-generation log's
// records (7325 to 7413, 7602, 7626, 7841 to 7844, 7848, 61228 to 61243, 61251, 61252), which its
// record catalogue names one by one.
constexpr IdRange kStringRanges[] = {
    {7325, 7413}, {7414, 7434}, {7435, 7450}, {7602, 7602}, {7626, 7626}, {7799, 7803}, {7841, 7844},
    {7848, 7848}, {61218, 61224}, {61228, 61243}, {61251, 61252},
};

}  // namespace host
