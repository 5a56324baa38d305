// Where the circular logger cuts its file: the header stays first and the newest lines stay.
// Free of system calls, so that the rule can be tested on any text.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The log file never grows past this size.
constexpr size_t kLogFileCap = 4 * 1024 * 1024;
// A text longer than a quarter of the cap is refused: it could not be kept whole.
constexpr size_t kLargestText = kLogFileCap / 4;
// A first line longer than this is no header and is dropped like any other line.
constexpr size_t kLargestHeader = 64 * 1024;

// Length of the header line at the start of content (up to and including its line feed),
// or 0 when the file does not start with a header ("#" first, at most kLargestHeader long).
size_t HeaderLength(const char* content, size_t size);

// When size + incoming passes cap, the oldest lines after the header are dropped so that the
// header, the lines kept and the incoming text take at most three quarters of the cap.
// Needs incoming <= cap / 4. Returns the offset of the first line to keep (a line start
// after the header), or size when no line is kept.
size_t FirstKeptOffset(const char* content, size_t size, size_t incoming, size_t cap);
