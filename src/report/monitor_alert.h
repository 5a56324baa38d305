// The alert document of a pass: every record's threshold, value and verdict, posted at once
// when a verdict changed and otherwise at most once in four hours.
#pragma once

// 0 when the interval withheld the alert (nothing built, sent or logged); 1 otherwise.
int PostMonitorAlert();
