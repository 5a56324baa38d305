// The circular logger's cutting rule on small texts: the header stays, whole oldest lines go,
// down to three quarters of the cap.
#include <gtest/gtest.h>

#include <string>

#include "log_rotation.h"

namespace {

TEST(LogRotation, HeaderIsAFinishedFirstLineStartingWithHash) {
  EXPECT_EQ(6u, HeaderLength("#head\nline\n", 11));
  EXPECT_EQ(0u, HeaderLength("line\n#x\n", 8));
  EXPECT_EQ(0u, HeaderLength("#unfinished", 11));
  EXPECT_EQ(0u, HeaderLength("", 0));
  std::string giant = "#" + std::string(kLargestHeader, 'h') + "\n";
  EXPECT_EQ(0u, HeaderLength(giant.data(), giant.size()));
}

TEST(LogRotation, DropsWholeOldestLinesDownToThreeQuartersOfTheCap) {
  // cap 40: header, incoming and kept lines must take at most 30 bytes.
  const std::string content =
      "#h\n"
      "line01\n"
      "line02\n"
      "line03\n"
      "line04\n"
      "line05\n";
  struct Case {
    size_t incoming;
    std::string keptFrom;
  } cases[] = {
      {7, "line04\n"},  // 3 + 7 leaves 20: line04 and line05 (14); line03 would make 21
      {20, "line05\n"},
      {26, ""},  // 3 + 26 leaves 1 byte: no whole line fits
      {27, ""},
  };
  for (const auto& c : cases) {
    size_t offset = FirstKeptOffset(content.data(), content.size(), c.incoming, 40);
    ASSERT_LE(offset, content.size());
    std::string kept = content.substr(offset);
    EXPECT_LE(3 + kept.size() + c.incoming, 30u) << c.incoming;
    EXPECT_EQ(c.keptFrom, kept.substr(0, c.keptFrom.size())) << c.incoming;
    if (offset < content.size()) {
      EXPECT_EQ('\n', content[offset - 1]);
    }
  }
}

TEST(LogRotation, WithoutHeaderEverythingMayGo) {
  const std::string content = "aaaa\nbbbb\ncccc\n";
  size_t offset = FirstKeptOffset(content.data(), content.size(), 4, 16);
  EXPECT_EQ("cccc\n", content.substr(offset));
}

}  // namespace
