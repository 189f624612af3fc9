#pragma once
#include "platform/core/Types.h"
