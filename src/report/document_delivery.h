// What the alert and the status document share: one clock reading with its texts, the three
// tries to post, and the archive copy when they all fail.
#pragma once

#include <windows.h>

#include "run/bounded_text.h"

struct DocumentClock {
  SYSTEMTIME Moment;
  char Date[kTextSize];  // month first: 03/14/2012
  char Time[kTextSize];  // 24-hour, from the system's time formatting: 18:51:11
};

// Reads the local clock once and makes the document's date and time texts.
void ReadDocumentClock(DocumentClock* clock);

// Posts the document up to three times, one try right after the other. When all fail, or an
// exception ends the tries (logged as an unexpected termination), writes it to the archive
// folder as stem + day-first date + 12-hour time + ".xml"; a name already taken gets "_1",
// "_2", ... before ".xml", so that no archived document is replaced.
void DeliverDocument(const char* document, int kind, const char* stem, const DocumentClock& clock);
