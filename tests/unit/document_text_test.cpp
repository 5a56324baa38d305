// XML escaping of document values and the status document's exact text.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "report/document_text.h"

namespace {

TEST(XmlEscape, EscapesTheFiveCharactersAndKeepsTheRest) {
  struct Case {
    const char* value;
    const char* escaped;
  } cases[] = {
      {"", ""},
      {"Missing SITE ID", "Missing SITE ID"},
      {"Missing TYPE ", "Missing TYPE "},
      {"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&apos;f"},
      {"&amp;", "&amp;amp;"},
      {"\xe9t\xe9", "\xe9t\xe9"},
  };
  for (const auto& c : cases) {
    char out[64];
    EXPECT_TRUE(XmlEscape(out, sizeof out, c.value)) << c.value;
    EXPECT_STREQ(c.escaped, out);
  }
}

TEST(XmlEscape, NeverCutsAnEntityInHalf) {
  char out[8];
  EXPECT_FALSE(XmlEscape(out, sizeof out, "abc&def"));
  EXPECT_STREQ("abc", out);  // "abc&amp;" would need 9 bytes
  EXPECT_FALSE(XmlEscape(out, sizeof out, "abcdefgh"));
  EXPECT_STREQ("abcdefg", out);
}

TEST(StatusDocument, DocumentedExample) {
  char out[kDocumentSize];
  ASSERT_TRUE(
      BuildStatusDocument(out, sizeof out, "12345", "03/14/2012", "18:51:11", "Missing SITE ID"));
  EXPECT_STREQ(
      "<wpdcmsccdskmonins><regid>12345</regid><scandt>03/14/2012 18:51:11</scandt>"
      "<status>0</status><exever>1.1.0.11</exever><errcode>2</errcode>"
      "<errdesc>Missing SITE ID</errdesc></wpdcmsccdskmonins>",
      out);
}

TEST(StatusDocument, ValuesAreEscapedSoTheDocumentStaysWellFormed) {
  char out[kDocumentSize];
  ASSERT_TRUE(BuildStatusDocument(out, sizeof out, "1<2", "03/14/2012", "18:51:11", "a&b"));
  EXPECT_NE(nullptr, strstr(out, "<regid>1&lt;2</regid>"));
  EXPECT_NE(nullptr, strstr(out, "<errdesc>a&amp;b</errdesc>"));
}

TEST(StatusDocument, TooSmallABufferGivesNoHalfDocument) {
  char out[64];
  EXPECT_FALSE(BuildStatusDocument(out, sizeof out, "12345", "03/14/2012", "18:51:11", "x"));
  EXPECT_STREQ("", out);
}

}  // namespace
