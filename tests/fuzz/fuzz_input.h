// Turns a fuzzer's bytes into the texts the agent's functions take: NUL-terminated fields
// split at a separator byte, and small numbers taken from the front.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

// The input split at every 0x01 byte into at least count fields (missing ones are "").
// A NUL byte ends a field's text, as it would end a C text.
inline std::vector<std::string> Fields(const uint8_t* data, size_t size, size_t count) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0x01) {
      fields.emplace_back();
    } else {
      fields.back().push_back(static_cast<char>(data[i]));
    }
  }
  for (std::string& field : fields)
    field = field.c_str();
  if (fields.size() < count) fields.resize(count);
  return fields;
}

// Aborts with a message: libFuzzer records the input as a crash.
#define FUZZ_CHECK(condition)                            \
  do {                                                   \
    if (!(condition)) {                                  \
      fprintf(stderr, "check failed: %s\n", #condition); \
      __builtin_abort();                                 \
    }                                                    \
  } while (0)
