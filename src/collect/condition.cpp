// CheckCondition: the six operators in their fixed order of comparison.
#include "collect/condition.h"

#include "run/bounded_text.h"

int CheckCondition(const char* op, double value, double threshold) {
  const float v = static_cast<float>(value);
  const float t = static_cast<float>(threshold);
  if (EqualNoCase(op, ">")) return v > t;
  if (EqualNoCase(op, "<")) return v < t;
  if (EqualNoCase(op, ">=")) return v >= t;
  if (EqualNoCase(op, "<=")) return v <= t;
  if (EqualNoCase(op, "==")) return v == t;
  if (EqualNoCase(op, "!=")) return v != t;
  return 0;
}
