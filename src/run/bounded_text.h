// Bounded writes into the agent's fixed text buffers: copy, append and format.
// Each one never writes past the capacity, always terminates, and tells whether the text fit.
#pragma once

#include <stddef.h>

#if defined(__MINGW32__)
#define QUINTREL_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#else
#define QUINTREL_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#endif

// Most texts of the agent: at most 255 characters and a terminator.
constexpr size_t kTextSize = 256;

// Each returns true when the whole text fit; otherwise dst holds the part that fit.
// A capacity of 0 writes nothing and returns false.
bool CopyText(char* dst, size_t capacity, const char* src);
bool CopyTextPrefix(char* dst, size_t capacity, const char* src, size_t count);
bool AppendText(char* dst, size_t capacity, const char* src);
bool FormatText(char* dst, size_t capacity, const char* format, ...) QUINTREL_PRINTF(3, 4);
bool AppendFormat(char* dst, size_t capacity, const char* format, ...) QUINTREL_PRINTF(3, 4);

template <size_t N>
inline bool CopyText(char (&dst)[N], const char* src) {
  return CopyText(dst, N, src);
}
template <size_t N>
inline bool AppendText(char (&dst)[N], const char* src) {
  return AppendText(dst, N, src);
}

// Compares two texts without regard to the case of the letters A to Z.
bool EqualNoCase(const char* a, const char* b);
