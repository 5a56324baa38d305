// The template checksum: the digests of the RFC 1321 test suite, blocks around the 1,024-byte
// buffer and the padding, line ends counting, a read error, and "-1" for a file that cannot be
// opened.
#include <gtest/gtest.h>

#include <string>

#include "support/platform_fakes.h"
#include "support/test_folders.h"
#include "template/file_md5.h"

namespace {

std::string Checksum(const std::string& path) {
  char out[64];
  ComputeFileMd5(path.c_str(), out, sizeof out);
  return out;
}

std::string Pattern(size_t size) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i)
    bytes.push_back(static_cast<char>(i % 251));
  return bytes;
}

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i)
    result += text;
  return result;
}

TEST(FileMd5, Rfc1321TestSuite) {
  struct Case {
    std::string content;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {Repeat("1234567890", 8), "57edf4a22be3c955ac49da2e2107b67a"},
  };
  TempFolder folder;
  for (const Case& c : cases) {
    folder.WriteFile("t.ini", c.content);
    EXPECT_EQ(c.digest, Checksum(folder.Join("t.ini"))) << c.content;
  }
}

TEST(FileMd5, BlocksAroundTheBufferSizeAndLineEnds) {
  TempFolder folder;
  struct Case {
    std::string content;
    const char* digest;  // from an independent MD5 over the same bytes
  } cases[] = {
      {Pattern(1024), "9ee0a0e0c0bc0f1ff29d663d1fdf0743"},
      {Pattern(1025), "3f3789452b88cb32b8cbfbafe715e29a"},
      // Around the padding: the count fits after 55 bytes of a block, not after 56.
      {Pattern(55), "6912ee65fff2d9f9ce2508cddf8bcda0"},
      {Pattern(56), "51fdd1acda72405dfdfa03fcb85896d7"},
      {Pattern(57), "5320ef4c17ef34a0cf2db763338d25eb"},
      {Pattern(63), "48a6295221902e8e0938f773a7185e72"},
      {Pattern(64), "b2d3f56bc197fd985d5965079b5e7148"},
      {Pattern(65), "8bd7053801c768420faf816fadba971c"},
      {Pattern(119), "1c772251899a7ff007400b888d6b2042"},
      {Pattern(120), "b7ba1efc6022e9ed272f00b8831e26e6"},
      {Pattern(128), "37eff01866ba3f538421b30b7cbefcac"},
      {Pattern(100000), "28cb595c158e9b74e34ae9e8da710fff"},
      {"[DCM]\r\nTid=1\r\n", "83c09668af814e84c6be847d477551e9"},
      {"[DCM]\nTid=1\n", "26edfd7bb8a38c531741392e7e76d283"},
  };
  for (const Case& c : cases) {
    folder.WriteFile("t.ini", c.content);
    EXPECT_EQ(c.digest, Checksum(folder.Join("t.ini"))) << c.content.size();
  }
}

TEST(FileMd5, FileThatCannotBeOpenedGivesMinusOne) {
  TempFolder folder;
  EXPECT_EQ("-1", Checksum(folder.Join("absent.ini")));
  EXPECT_EQ("-1", Checksum(folder.Path()));  // a folder is no file to read
}

int readsLeft;
size_t FailingRead(void* buffer, size_t size, size_t count, FILE* file) {
  if (readsLeft-- <= 0) return 0;
  return fread(buffer, size, count, file);
}

TEST(FileMd5, ReadErrorEndsTheReadingLikeTheEndOfTheFile) {
  TempFolder folder;
  folder.WriteFile("t.ini", Pattern(1025));
  PlatformGuard guard;
  Platform.fread = FailingRead;
  readsLeft = 1;  // the first block of 1,024 bytes, then an error
  EXPECT_EQ("9ee0a0e0c0bc0f1ff29d663d1fdf0743", Checksum(folder.Join("t.ini")));
}

}  // namespace
