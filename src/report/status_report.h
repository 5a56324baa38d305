// The status report to the server, the interval check it shares with the alert, and the
// delivery of a document: three tries, then a copy in the archive folder.
#pragma once

// 1 lets the document go (the new stamp is written under [webpost] key of config.ini);
// 0 withholds it: a document of this key went less than four hours ago. applyWindow 0
// lets it go in any case.
int CheckPostInterval(const char* key, int applyWindow);

// Posts one message as a status document; 0 when the interval withheld it, else 1.
int ReportStatus(const char* message);
