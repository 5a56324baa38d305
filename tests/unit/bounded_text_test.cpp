// Bounded copy, append and format: never past the capacity, always terminated, and the
// result says whether the text fit.
#include <gtest/gtest.h>
#include <string.h>

#include "run/bounded_text.h"

namespace {

// A buffer with guard bytes after its capacity, to catch a write past the end.
struct Guarded {
  char bytes[16 + 8];
  static constexpr size_t kCapacity = 16;
  Guarded() { memset(bytes, '#', sizeof bytes); }
  bool GuardIntact() const {
    for (size_t i = kCapacity; i < sizeof bytes; ++i) {
      if (bytes[i] != '#') return false;
    }
    return true;
  }
};

TEST(BoundedText, CopyFitsUpToCapacityLessOne) {
  struct Case {
    const char* source;
    bool fits;
    const char* result;
  } cases[] = {
      {"", true, ""},
      {"fifteen chars!!", true, "fifteen chars!!"},
      {"sixteen chars!!!", false, "sixteen chars!!"},
      {"a much longer text than sixteen", false, "a much longer t"},
  };
  for (const Case& c : cases) {
    Guarded buffer;
    EXPECT_EQ(c.fits, CopyText(buffer.bytes, Guarded::kCapacity, c.source)) << c.source;
    EXPECT_STREQ(c.result, buffer.bytes);
    EXPECT_TRUE(buffer.GuardIntact());
  }
}

TEST(BoundedText, AppendStopsAtCapacity) {
  Guarded buffer;
  CopyText(buffer.bytes, Guarded::kCapacity, "0123456789");
  EXPECT_TRUE(AppendText(buffer.bytes, Guarded::kCapacity, "abcde"));
  EXPECT_STREQ("0123456789abcde", buffer.bytes);
  EXPECT_FALSE(AppendText(buffer.bytes, Guarded::kCapacity, "x"));
  EXPECT_STREQ("0123456789abcde", buffer.bytes);
  EXPECT_TRUE(buffer.GuardIntact());
}

TEST(BoundedText, AppendToUnterminatedBufferTerminatesIt) {
  Guarded buffer;  // sixteen '#' and no terminator within the capacity
  EXPECT_FALSE(AppendText(buffer.bytes, Guarded::kCapacity, "x"));
  EXPECT_EQ('\0', buffer.bytes[Guarded::kCapacity - 1]);
  EXPECT_TRUE(buffer.GuardIntact());
}

TEST(BoundedText, FormatAndAppendFormatCut) {
  Guarded buffer;
  EXPECT_TRUE(FormatText(buffer.bytes, Guarded::kCapacity, "%s=%d", "key", 42));
  EXPECT_STREQ("key=42", buffer.bytes);
  EXPECT_FALSE(AppendFormat(buffer.bytes, Guarded::kCapacity, "/%08d/", 7));
  EXPECT_STREQ("key=42/00000007", buffer.bytes);
  EXPECT_TRUE(buffer.GuardIntact());
}

TEST(BoundedText, ZeroCapacityWritesNothing) {
  char untouched = '#';
  EXPECT_FALSE(CopyText(&untouched, 0, "x"));
  EXPECT_FALSE(AppendText(&untouched, 0, "x"));
  EXPECT_FALSE(FormatText(&untouched, 0, "%s", "x"));
  EXPECT_EQ('#', untouched);
}

TEST(BoundedText, PrefixCopyTakesCountCharacters) {
  char out[8];
  EXPECT_TRUE(CopyTextPrefix(out, sizeof out, "C:\\A\\B\\prog.exe", 6));
  EXPECT_STREQ("C:\\A\\B", out);
  EXPECT_TRUE(CopyTextPrefix(out, sizeof out, "ab", 6));  // shorter source: all of it
  EXPECT_STREQ("ab", out);
  EXPECT_FALSE(CopyTextPrefix(out, sizeof out, "0123456789", 9));
  EXPECT_STREQ("0123456", out);
}

TEST(BoundedText, EqualNoCaseFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualNoCase("Information", "iNFORMATION"));
  EXPECT_TRUE(EqualNoCase("", ""));
  EXPECT_FALSE(EqualNoCase("Info", "Information"));
  EXPECT_FALSE(EqualNoCase("[", "{"));  // differ by the case bit, but are not letters
}

}  // namespace
