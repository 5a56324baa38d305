// Fuzzes the leading-number readers: any text gives a number, never reads past its end, and
// agrees with a plain reading of its digits.
#include <math.h>
#include <stdlib.h>

#include "fuzz_input.h"
#include "run/leading_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Fields(data, size, 1)[0];
  const int32_t whole = ReadLeadingInt32(text.c_str());
  const double number = ReadLeadingDouble(text.c_str());
  FUZZ_CHECK(!isnan(number));
  // With nothing but an optional sign and up to nine digits, both readers agree.
  size_t at = text.find_first_not_of(" \t\n\r\v\f");
  if (at != std::string::npos) {
    size_t digits = at + ((text[at] == '-' || text[at] == '+') ? 1 : 0);
    size_t end = digits;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
      ++end;
    if (end > digits && end - digits <= 9 && (end == text.size() || text[end] == ' ')) {
      const long expected = strtol(text.c_str() + at, nullptr, 10);
      FUZZ_CHECK(whole == expected);
      FUZZ_CHECK(number == static_cast<double>(expected));
    }
  }
  return 0;
}
