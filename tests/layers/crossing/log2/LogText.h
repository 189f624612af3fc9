#pragma once
#include <vector>
#include "mail/MailText.h"
#include "platform/core/Types.h"
