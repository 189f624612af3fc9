#pragma once
// Header texts that are not plain ASCII, as RFC 2047 encoded words, so that a reader shows them
// as written and no header line exceeds SMTP's limit.
#include "platform/core/CString.h"

// `text` unchanged when it is printable ASCII and `used` + its length stays within a line's
// limit; otherwise as "=?UTF-8?B?...?=" words of at most 75 characters, each on its own
// continuation line, never splitting a UTF-8 character. `used` is what the line holds before it.
CString EncodeHeaderText(const CString& text, std::size_t used);
