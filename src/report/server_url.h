// The management server's URL for a document kind, with the identity in its query.
// Free of system calls; the host name comes from the caller.
#pragma once

#include <stddef.h>

// The URL is composed in a buffer of 1,024 bytes (at most 1,023 characters).
constexpr size_t kUrlSize = 1024;

// Kind 0 is the alert document; any other kind the status report.
enum DocumentKind { kAlertDocument = 0, kStatusDocument = 1 };

// Writes value with every byte outside A-Z a-z 0-9 - . _ ~ as %XX (upper-case hex).
// False when the result was cut to fit.
bool PercentEncode(char* out, size_t capacity, const char* value);

// "https://" host, the path of the kind and the query mmid, sid, rid, rty with the encoded
// values. False when the URL did not fit (out then holds the part that fit).
bool ComposeServerUrl(char* out, size_t capacity, const char* host, int kind, const char* memberId,
                      const char* siteId, const char* regId, const char* type);
