// Stamp and window arithmetic of CheckPostInterval.
// Conversions go through unsigned types, where wrapping is defined.
#include "report/post_window.h"

int32_t StampOf(int64_t now) {
  const uint32_t low = static_cast<uint32_t>(static_cast<uint64_t>(now));
  return static_cast<int32_t>(low);
}

bool IsWithinPostWindow(int32_t stored, int64_t now) {
  const uint32_t elapsed = static_cast<uint32_t>(StampOf(now)) - static_cast<uint32_t>(stored);
  const int32_t difference = static_cast<int32_t>(elapsed);
  return difference >= -kPostWindowSeconds && difference <= kPostWindowSeconds;
}
