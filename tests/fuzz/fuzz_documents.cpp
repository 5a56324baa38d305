// Fuzzes both document builders: whatever the values, the status document and the alert are
// well-formed (every value escaped, every element whole, the tail last) and fit 5,999
// characters.
#include <string.h>

#include "fuzz_input.h"
#include "report/document_text.h"
#include "run/leading_number.h"
#include "template/monitor_function.h"

namespace {

// No markup character inside text or attribute values: every '<' opens one of our tags,
// every '&' starts one of the five entities.
void CheckWellFormed(const std::string& document, const char* root) {
  FUZZ_CHECK(document.rfind(std::string("<") + root + ">", 0) == 0);
  FUZZ_CHECK(document.size() >= strlen(root) + 3 &&
             document.compare(document.size() - strlen(root) - 3, std::string::npos,
                              std::string("</") + root + ">") == 0);
  static const char* const kEntities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
  bool inTag = false, inValue = false;
  for (size_t i = 0; i < document.size(); ++i) {
    const char c = document[i];
    if (c == '&') {
      bool known = false;
      for (const char* entity : kEntities)
        known = known || document.compare(i, strlen(entity), entity) == 0;
      FUZZ_CHECK(known);
    }
    if (inValue) {
      FUZZ_CHECK(c != '<' && c != '>');
      if (c == '"') inValue = false;
    } else if (inTag) {
      if (c == '"') inValue = true;
      if (c == '>') inTag = false;
      FUZZ_CHECK(c != '<');
    } else {
      if (c == '<') inTag = true;
      FUZZ_CHECK(c != '>' && c != '"' && c != '\'');
    }
  }
  FUZZ_CHECK(!inTag && !inValue);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> f = Fields(data, size, 8);
  for (std::string& text : f) {
    if (text.size() > 255) text.resize(255);  // the agent's texts hold at most 255
  }
  char document[kDocumentSize];
  FUZZ_CHECK(BuildStatusDocument(document, sizeof document, f[0].c_str(), "03/14/2012", "18:51:11",
                                 f[1].c_str()));
  CheckWellFormed(document, "wpdcmsccdskmonins");

  FUZZ_CHECK(BuildAlertHead(document, sizeof document, f[0].c_str(), f[2].c_str(), f[3].c_str(),
                            "03/14/2012", "18:51:11", f[4].c_str()));
  MonitorFunction record;
  record.ScriptId = ReadLeadingInt32(f[5].c_str());
  record.FunctionId = static_cast<int32_t>(size);
  record.Threshold = ReadLeadingDouble(f[6].c_str());
  record.Value = ReadLeadingDouble(f[7].c_str());
  snprintf(record.Instance, sizeof record.Instance, "%.254s", f[1].c_str());
  snprintf(record.Status, sizeof record.Status, "%.254s", f[2].c_str());
  const int copies = 1 + static_cast<int>(size % 150);
  for (int i = 0; i < copies; ++i)
    AppendAlertElement(document, sizeof document, record);
  FUZZ_CHECK(AppendAlertTail(document, sizeof document));
  FUZZ_CHECK(strlen(document) <= kDocumentSize - 1);
  CheckWellFormed(document, "wpdcmmonalert");
  return 0;
}
