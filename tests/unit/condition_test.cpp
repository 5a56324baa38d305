// CheckCondition: the six operators, the boundaries, single precision, and operator texts
// that are none of the six.
#include <gtest/gtest.h>

#include "collect/condition.h"

namespace {

TEST(CheckCondition, Table) {
  struct Case {
    const char* op;
    double value, threshold;
    int met;
  } cases[] = {
      {">", 80, 80, 0},
      {">", 80.5, 80, 1},
      {">=", 80, 80, 1},
      {"<", 79.9, 80, 1},
      {"<", 80, 80, 0},
      {"<=", 80, 80, 1},
      {"==", 80, 80, 1},
      {"==", 80.0001, 80, 0},
      {"!=", 80, 80, 0},
      {"!=", 81, 80, 1},
      {"==", 16777217, 16777216, 1},  // equal once rounded to single precision
      {"!=", 16777217, 16777216, 0},
      {">", 16777217, 16777216, 0},
      {"<", -1, 0, 1},
      {" >", 99, 0, 0},
      {"> ", 99, 0, 0},
      {"greater", 99, 0, 0},
      {"", 99, 0, 0},
      {"=>", 99, 0, 0},
      {"=", 80, 80, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.met, CheckCondition(c.op, c.value, c.threshold))
        << '"' << c.op << "\" " << c.value << " " << c.threshold;
  }
}

}  // namespace
