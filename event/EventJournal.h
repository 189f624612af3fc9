#pragma once
// An event folder as a journal: one entry per event, the text the browser's pane shows below it.
// Records without the event mark are part of the file but, as in the browser, never shown.
#include "module/JournalFamily.h"

const JournalFamily& EventJournalFamily();
