#pragma once
// The keys the calendar answers, from itself or from any of its buttons that has the focus.
#include "platform/core/Types.h"
#include "platform/ui/WindowStyles.h"

namespace calendar {

constexpr bool IsNavigationKey(UINT key) {
    switch (key) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_RETURN: return true;
    default: return false;
    }
}

}  // namespace calendar
