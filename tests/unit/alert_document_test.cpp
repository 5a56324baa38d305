// The alert document's text: the documented example to the byte, the number conversions of
// the fn elements, escaping, and a document that stays well-formed when records do not fit.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "report/document_text.h"
#include "template/monitor_function.h"

namespace {

MonitorFunction Record(int scriptId, int functionId, double threshold, double value,
                       const char* instance, int osDrive, const char* status) {
  MonitorFunction r;
  r.ScriptId = scriptId;
  r.FunctionId = functionId;
  r.Threshold = threshold;
  r.Value = value;
  CopyText(r.Instance, instance);
  r.IsOsDrive = static_cast<uint8_t>(osDrive);
  CopyText(r.Status, status);
  return r;
}

std::string Document(std::initializer_list<MonitorFunction> records) {
  char document[kDocumentSize];
  EXPECT_TRUE(
      BuildAlertHead(document, sizeof document, "12345", "3", "7", "03/14/2012", "18:51:11", "1"));
  for (const MonitorFunction& r : records)
    EXPECT_TRUE(AppendAlertElement(document, sizeof document, r));
  EXPECT_TRUE(AppendAlertTail(document, sizeof document));
  return document;
}

const char kHead[] =
    "<wpdcmmonalert><regid>12345</regid><templid ver=\"3\" tid=\"7\" /><scandatetime>03/14/2012 "
    "18:51:11</scandatetime><regtype>1</regtype><fndata>";
const char kTail[] = "</fndata></wpdcmmonalert>";

TEST(AlertDocument, DocumentedExampleToTheByte) {
  EXPECT_EQ(std::string(kHead) +
                "<fn scrid=\"  12\"  fnid =\"   1\" thdefine=\"  80\" thval=\"  45\" inst=\"C\"  "
                "osdrv=\"1\" status=\"SUCCESS\" />" +
                kTail,
            Document({Record(12, 1, 80, 45.3, "C", 1, "SUCCESS")}));
}

TEST(AlertDocument, EmptyListGivesAnEmptyFndata) {
  EXPECT_EQ(std::string(kHead) + kTail, Document({}));
}

TEST(AlertDocument, NumberConversions) {
  struct Case {
    MonitorFunction record;
    const char* element;
  } cases[] = {
      {Record(0, 3, 90, -1, "_Total", 0, ""),
       "<fn scrid=\"    \"  fnid =\"   3\" thdefine=\"  90\" thval=\"  -1\" inst=\"_Total\"  "
       "osdrv=\"0\" status=\"\" />"},
      {Record(501, 12345, 123456, 99999.6, "D:", 0, "ERROR"),
       "<fn scrid=\" 501\"  fnid =\"12345\" thdefine=\"123456\" thval=\"100000\" inst=\"D:\"  "
       "osdrv=\"0\" status=\"ERROR\" />"},
      {Record(-1, 2, 0, 0, "E", 0, "NOT AVAILABLE"),
       "<fn scrid=\"4294967295\"  fnid =\"   2\" thdefine=\"   0\" thval=\"   0\" inst=\"E\"  "
       "osdrv=\"0\" status=\"NOT AVAILABLE\" />"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(kHead) + c.element + kTail, Document({c.record}));
  }
}

TEST(AlertDocument, ValuesAreEscaped) {
  char document[kDocumentSize];
  ASSERT_TRUE(BuildAlertHead(document, sizeof document, "a&b", "<3>", "\"7\"", "03/14/2012",
                             "18:51:11", "'1'"));
  ASSERT_TRUE(AppendAlertElement(document, sizeof document, Record(1, 1, 1, 1, "C&D", 1, "<x>")));
  EXPECT_NE(nullptr, strstr(document,
                            "<regid>a&amp;b</regid><templid ver=\"&lt;3&gt;\" "
                            "tid=\"&quot;7&quot;\" />"));
  EXPECT_NE(nullptr, strstr(document, "<regtype>&apos;1&apos;</regtype>"));
  EXPECT_NE(nullptr, strstr(document, "inst=\"C&amp;D\""));
  EXPECT_NE(nullptr, strstr(document, "status=\"&lt;x&gt;\""));
}

TEST(AlertDocument, RecordsThatDoNotFitAreLeftOutWhole) {
  char document[kDocumentSize];
  ASSERT_TRUE(
      BuildAlertHead(document, sizeof document, "12345", "3", "7", "03/14/2012", "18:51:11", "1"));
  const MonitorFunction record = Record(12, 1, 80, 45.3, "C", 1, "SUCCESS");
  int appended = 0;
  for (int i = 0; i < 200; ++i)
    appended += AppendAlertElement(document, sizeof document, record);
  ASSERT_TRUE(AppendAlertTail(document, sizeof document));
  const std::string text = document;
  EXPECT_LE(text.size(), kDocumentSize - 1);
  EXPECT_GT(appended, 50);
  EXPECT_LT(appended, 200);
  size_t elements = 0;
  for (size_t at = text.find("<fn "); at != std::string::npos; at = text.find("<fn ", at + 1)) {
    ++elements;
  }
  EXPECT_EQ(static_cast<size_t>(appended), elements);
  EXPECT_EQ(kTail, text.substr(text.size() - strlen(kTail)));
  size_t closed = 0;  // every element is whole: as many " />" as elements, and templid's
  for (size_t at = text.find(" />"); at != std::string::npos; at = text.find(" />", at + 1)) {
    ++closed;
  }
  EXPECT_EQ(elements + 1, closed);

  // An element longer than its 255-character buffer is left out on its own.
  ASSERT_TRUE(BuildAlertHead(document, sizeof document, "1", "1", "1", "d", "t", "1"));
  const std::string wide(240, 'x');
  EXPECT_FALSE(
      AppendAlertElement(document, sizeof document, Record(1, 1, 1, 1, wide.c_str(), 0, "")));
  EXPECT_TRUE(AppendAlertElement(document, sizeof document, record));
}

}  // namespace
