#pragma once
// One queued body part of a multipart mail.
#include "platform/core/CString.h"

struct MAIL_PART {
    int type = 0;        // mime::kTextPart or mime::kFilePart
    CString parameter;   // appended to the text part's Content-Type value
    CString content;     // the text of a text part, the file path of an attachment
};
