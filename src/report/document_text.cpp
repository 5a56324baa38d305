// Escaping and the status document's format. The values are escaped so that any REGID or
// message gives a well-formed document; ordinary values are unchanged.
#include "report/document_text.h"

#include "run/bounded_text.h"

bool XmlEscape(char* out, size_t capacity, const char* value) {
  if (!CopyText(out, capacity, "")) return false;
  size_t used = 0;
  for (const char* p = value; *p != '\0'; ++p) {
    const char* entity = nullptr;
    switch (*p) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      case '\'':
        entity = "&apos;";
        break;
      default:
        break;
    }
    char single[2] = {*p, '\0'};
    const char* piece = entity != nullptr ? entity : single;
    size_t length = 0;
    while (piece[length] != '\0')
      ++length;
    if (used + length >= capacity) return false;
    CopyText(out + used, capacity - used, piece);
    used += length;
  }
  return true;
}

bool BuildStatusDocument(char* out, size_t capacity, const char* regId, const char* dateText,
                         const char* timeText, const char* message) {
  char reg[kDocumentSize], date[kDocumentSize], time[kDocumentSize], text[kDocumentSize];
  bool fits = XmlEscape(reg, sizeof reg, regId) && XmlEscape(date, sizeof date, dateText) &&
              XmlEscape(time, sizeof time, timeText) && XmlEscape(text, sizeof text, message) &&
              FormatText(out, capacity,
                         "<wpdcmsccdskmonins><regid>%s</regid><scandt>%s %s</scandt><status>%d"
                         "</status><exever>%s</exever><errcode>%s</errcode><errdesc>%s</errdesc>"
                         "</wpdcmsccdskmonins>",
                         reg, date, time, 0, "1.1.0.11", "2", text);
  if (!fits) CopyText(out, capacity, "");
  return fits;
}
