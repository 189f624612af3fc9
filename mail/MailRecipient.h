#pragma once
// One recipient of a mail and the three lists a recipient can be on.
#include "platform/core/CString.h"

struct MAIL_RECIPIENT {
    CString address;
    CString name;  // display name, empty for none
};

// Any other value selects no list.
enum class RecipientKind : int { To = 0, Cc = 1, Bcc = 2 };
constexpr int kRecipientKinds = 3;
