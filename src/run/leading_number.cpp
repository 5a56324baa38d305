// Leading-number readers shared by the template, config.ini and provider replies.
// Written out by hand so that no locale and no C library quirk decides what a number is.
#include "run/leading_number.h"

#include <stdlib.h>

static bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
static bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int32_t ReadLeadingInt32(const char* text) {
  const char* p = text;
  while (IsBlank(*p))
    ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  int64_t magnitude = 0;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  for (; IsDigit(*p); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

double ReadLeadingDouble(const char* text) {
  const char* p = text;
  while (IsBlank(*p))
    ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  bool whole = IsDigit(p[0]);
  bool fraction = p[0] == '.' && IsDigit(p[1]);
  if (!whole && !fraction) return 0.0;  // also keeps strtod away from "inf" and "nan"
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return 0.0;  // the 0 before a non-digit
  // What remains is a decimal number, which strtod reads exactly as far as the rules above
  // (the agent never changes the C locale, so the decimal point is '.').
  return strtod(start, nullptr);
}
