#pragma once
#include "tools/Tool.h"
