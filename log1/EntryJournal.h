#pragma once
// A first-generation folder as a journal: one entry per stored entry, the browser's pane below it.
// Entries of type 5 and above, which the browser never loads, are never shown.
#include "module/JournalFamily.h"

const JournalFamily& EntryJournalFamily();
