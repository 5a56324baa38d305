// Fuzzes the query-value encoding and the URL: only unreserved characters and whole %XX
// escapes come out, they decode to the value (or a prefix of it when cut), and the URL never
// passes its buffer.
#include <string.h>

#include "fuzz_input.h"
#include "report/server_url.h"

static int HexValue(char c) {
  return c >= '0' && c <= '9' ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> f = Fields(data, size, 5);
  char encoded[kUrlSize];
  const bool whole = PercentEncode(encoded, 64, f[0].c_str());
  std::string decoded;
  for (const char* p = encoded; *p; ++p) {
    if (*p == '%') {
      const int high = HexValue(p[1]), low = HexValue(p[2]);
      FUZZ_CHECK(high >= 0 && low >= 0);
      decoded.push_back(static_cast<char>(high * 16 + low));
      p += 2;
    } else {
      FUZZ_CHECK(strchr("-._~", *p) || (*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'z') ||
                 (*p >= 'A' && *p <= 'Z'));
      decoded.push_back(*p);
    }
  }
  FUZZ_CHECK(whole ? decoded == f[0] : f[0].compare(0, decoded.size(), decoded) == 0);
  char url[kUrlSize];
  ComposeServerUrl(url, sizeof url, f[1].c_str(), static_cast<int>(size % 3), f[2].c_str(),
                   f[3].c_str(), f[4].c_str(), f[0].c_str());
  FUZZ_CHECK(strlen(url) < sizeof url);
  FUZZ_CHECK(strncmp(url, "https://", 8) == 0 || strlen(url) < 8);
  return 0;
}
