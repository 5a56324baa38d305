// Texts of the documents for the server: XML escaping, and the status document built from
// plain inputs. Free of system calls.
#pragma once

#include <stddef.h>

// Documents are built in a buffer of 6,000 bytes (at most 5,999 characters).
constexpr size_t kDocumentSize = 6000;

// Copies value with & < > " ' written as &amp; &lt; &gt; &quot; &apos;. Never cuts an
// entity in half; false when the text was cut to fit.
bool XmlEscape(char* out, size_t capacity, const char* value);

struct MonitorFunction;

// The alert document is built in three pieces: the head, one fn element per record, the tail.
// The head: regid, templid version and id, scan date (month first) and 24-hour time, regtype.
bool BuildAlertHead(char* out, size_t capacity, const char* regId, const char* version,
                    const char* templateId, const char* dateText, const char* timeText,
                    const char* type);

// Appends the fn element of one record when it fits in its 256-byte element buffer and
// leaves room in the document for the tail; false (document unchanged) when it does not.
bool AppendAlertElement(char* document, size_t capacity, const MonitorFunction& record);

// Appends the tail; there is always room for it when the head and elements were appended
// by the functions above.
bool AppendAlertTail(char* document, size_t capacity);

// The status document: regid, scan date and time, status 0, exever, errcode 2, errdesc.
// dateText is month first, timeText 24-hour. False when it did not fit (out is then empty).
bool BuildStatusDocument(char* out, size_t capacity, const char* regId, const char* dateText,
                         const char* timeText, const char* message);
