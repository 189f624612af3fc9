#pragma once
// A log folder as a journal: one entry per log (block), its records' texts below it.
#include "module/JournalFamily.h"

const JournalFamily& LogJournalFamily();
