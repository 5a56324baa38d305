// Fuzzes CheckCondition with arbitrary operator texts: only the six operators can be met,
// and each agrees with the comparison it names in single precision.
#include <string.h>

#include "collect/condition.h"
#include "fuzz_input.h"
#include "run/leading_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> f = Fields(data, size, 3);
  const double value = ReadLeadingDouble(f[1].c_str());
  const double threshold = ReadLeadingDouble(f[2].c_str());
  const int met = CheckCondition(f[0].c_str(), value, threshold);
  FUZZ_CHECK(met == 0 || met == 1);
  const float v = static_cast<float>(value), t = static_cast<float>(threshold);
  const std::string& op = f[0];
  int expected = 0;
  if (op == ">")
    expected = v > t;
  else if (op == "<")
    expected = v < t;
  else if (op == ">=")
    expected = v >= t;
  else if (op == "<=")
    expected = v <= t;
  else if (op == "==")
    expected = v == t;
  else if (op == "!=")
    expected = v != t;
  FUZZ_CHECK(met == expected);
  return 0;
}
