// Bounded copy, append and format over fixed buffers, and the case-blind comparison.
// The only place of the agent that writes characters into a caller's buffer by position.
#include "run/bounded_text.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

bool CopyTextPrefix(char* dst, size_t capacity, const char* src, size_t count) {
  if (capacity == 0) return false;
  size_t length = 0;
  while (length < count && src[length] != '\0')
    ++length;
  bool fits = length < capacity;
  if (!fits) length = capacity - 1;
  memmove(dst, src, length);
  dst[length] = '\0';
  return fits;
}

bool CopyText(char* dst, size_t capacity, const char* src) {
  return CopyTextPrefix(dst, capacity, src, capacity);
}

bool AppendText(char* dst, size_t capacity, const char* src) {
  if (capacity == 0) return false;
  size_t used = strnlen(dst, capacity);
  if (used == capacity) {  // not terminated: terminate before appending
    dst[capacity - 1] = '\0';
    return false;
  }
  return CopyText(dst + used, capacity - used, src);
}

static bool FormatInto(char* dst, size_t capacity, const char* format, va_list args) {
  if (capacity == 0) return false;
  int written = vsnprintf(dst, capacity, format, args);
  dst[capacity - 1] = '\0';
  if (written < 0) {
    dst[0] = '\0';
    return false;
  }
  return static_cast<size_t>(written) < capacity;
}

bool FormatText(char* dst, size_t capacity, const char* format, ...) {
  va_list args;
  va_start(args, format);
  bool fits = FormatInto(dst, capacity, format, args);
  va_end(args);
  return fits;
}

bool AppendFormat(char* dst, size_t capacity, const char* format, ...) {
  if (capacity == 0) return false;
  size_t used = strnlen(dst, capacity);
  if (used == capacity) {
    dst[capacity - 1] = '\0';
    return false;
  }
  va_list args;
  va_start(args, format);
  bool fits = FormatInto(dst + used, capacity - used, format, args);
  va_end(args);
  return fits;
}

bool EqualNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
    char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
    if (ca != cb) return false;
    if (ca == '\0') return true;
  }
}
