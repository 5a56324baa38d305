// Composition of the server URL: fixed paths by document kind, percent-encoded query values.
// Ordinary ids contain only unreserved characters and so reach the server unchanged.
#include "report/server_url.h"

#include "run/bounded_text.h"

static bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool PercentEncode(char* out, size_t capacity, const char* value) {
  if (!CopyText(out, capacity, "")) return false;
  static const char kHex[] = "0123456789ABCDEF";
  size_t used = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value); *p; ++p) {
    const size_t width = IsUnreserved(*p) ? 1 : 3;
    if (used + width >= capacity) return false;  // whole escapes only: never half of one
    if (width == 1) {
      out[used++] = static_cast<char>(*p);
    } else {
      out[used++] = '%';
      out[used++] = kHex[*p >> 4];
      out[used++] = kHex[*p & 0x0F];
    }
    out[used] = '\0';
  }
  return true;
}

bool ComposeServerUrl(char* out, size_t capacity, const char* host, int kind, const char* memberId,
                      const char* siteId, const char* regId, const char* type) {
  const char* page = kind == kAlertDocument ? "tfr_wpdcmmonalert" : "tfr_wpdcmsccdskmonins";
  char member[kUrlSize], site[kUrlSize], reg[kUrlSize], kindText[kUrlSize];
  bool fits = PercentEncode(member, sizeof member, memberId);
  fits = PercentEncode(site, sizeof site, siteId) && fits;
  fits = PercentEncode(reg, sizeof reg, regId) && fits;
  fits = PercentEncode(kindText, sizeof kindText, type) && fits;
  fits = FormatText(out, capacity, "https://%s/%s.asp?mmid=%s&sid=%s&rid=%s&rty=%s", host, page,
                    member, site, reg, kindText) &&
         fits;
  return fits;
}
