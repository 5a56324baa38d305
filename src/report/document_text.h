// Texts of the documents for the server: XML escaping, and the status document built from
// plain inputs. Free of system calls.
#pragma once

#include <stddef.h>

// Documents are built in a buffer of 6,000 bytes (at most 5,999 characters).
constexpr size_t kDocumentSize = 6000;

// Copies value with & < > " ' written as &amp; &lt; &gt; &quot; &apos;. Never cuts an
// entity in half; false when the text was cut to fit.
bool XmlEscape(char* out, size_t capacity, const char* value);

// The status document: regid, scan date and time, status 0, exever, errcode 2, errdesc.
// dateText is month first, timeText 24-hour. False when it did not fit (out is then empty).
bool BuildStatusDocument(char* out, size_t capacity, const char* regId, const char* dateText,
                         const char* timeText, const char* message);
