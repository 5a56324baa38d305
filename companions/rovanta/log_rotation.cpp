// The cutting rule of the circular logger: drop whole oldest lines, a quarter of the cap
// at least, so that rewrites of the file stay rare.
#include "log_rotation.h"

#include <string.h>

size_t HeaderLength(const char* content, size_t size) {
  if (size == 0 || content[0] != '#') return 0;
  const void* lineFeed = memchr(content, '\n', size < kLargestHeader ? size : kLargestHeader);
  if (lineFeed == nullptr) return 0;
  return static_cast<size_t>(static_cast<const char*>(lineFeed) - content) + 1;
}

size_t FirstKeptOffset(const char* content, size_t size, size_t incoming, size_t cap) {
  const size_t header = HeaderLength(content, size);
  const size_t target = cap - cap / 4;
  if (header + incoming >= target) return size;
  const size_t keepAtMost = target - header - incoming;
  if (size - header <= keepAtMost) return header;
  // The first line start at or after the earliest offset whose rest fits.
  size_t offset = size - keepAtMost;
  if (content[offset - 1] == '\n') return offset;
  const void* lineFeed = memchr(content + offset, '\n', size - offset);
  if (lineFeed == nullptr) return size;
  return static_cast<size_t>(static_cast<const char*>(lineFeed) - content) + 1;
}
