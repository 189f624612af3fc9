#include "platform/ui/MessageMap.h"

namespace {

// Notifications and commands are told apart by their code and the sending control's ID;
// other messages by the message alone.
bool Matches(const MessageMapEntry& e, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < e.message || message > e.messageLast) return false;
    const UINT base = message >= WM_REFLECT_BASE ? message - WM_REFLECT_BASE : message;
    if (base == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header && header->code == e.code && header->idFrom >= e.idFirst && header->idFrom <= e.idLast;
    }
    if (base == WM_COMMAND) {
        const UINT id = LOWORD(wParam);
        return HIWORD(wParam) == static_cast<WORD>(e.code) && id >= e.idFirst && id <= e.idLast;
    }
    return true;
}

}  // namespace

const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam, LPARAM lParam) {
    for (; map; map = map->base) {
        for (const MessageMapEntry& e : map->entries) {
            if (Matches(e, message, wParam, lParam)) return &e;
        }
    }
    return nullptr;
}
