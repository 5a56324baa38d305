// Escaping and the status document's format. The values are escaped so that any REGID or
// message gives a well-formed document; ordinary values are unchanged.
#include "report/document_text.h"

#include <stdint.h>
#include <string.h>

#include "run/bounded_text.h"
#include "template/monitor_function.h"

namespace {
const char kAlertTail[] = "</fndata></wpdcmmonalert>";
constexpr size_t kElementSize = 256;
}  // namespace

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

bool BuildAlertHead(char* out, size_t capacity, const char* regId, const char* version,
                    const char* templateId, const char* dateText, const char* timeText,
                    const char* type) {
  char reg[kDocumentSize], ver[kDocumentSize], tid[kDocumentSize], kind[kDocumentSize];
  bool fits = XmlEscape(reg, sizeof reg, regId) && XmlEscape(ver, sizeof ver, version) &&
              XmlEscape(tid, sizeof tid, templateId) && XmlEscape(kind, sizeof kind, type) &&
              FormatText(out, capacity,
                         "<wpdcmmonalert><regid>%s</regid><templid ver=\"%s\" tid=\"%s\" />"
                         "<scandatetime>%s %s</scandatetime><regtype>%s</regtype><fndata>",
                         reg, ver, tid, dateText, timeText, kind) &&
              strlen(out) + sizeof kAlertTail <= capacity;
  if (!fits) CopyText(out, capacity, "");
  return fits;
}

bool AppendAlertElement(char* document, size_t capacity, const MonitorFunction& record) {
  char instance[kElementSize], status[kElementSize];
  char element[kElementSize] = {};
  const bool fits =
      XmlEscape(instance, sizeof instance, record.Instance) &&
      XmlEscape(status, sizeof status, record.Status) &&
      FormatText(element, sizeof element,
                 "<fn scrid=\"%4.0lu\"  fnid =\"%4.0lu\" thdefine=\"%4.0f\" thval=\"%4.0f\" "
                 "inst=\"%s\"  osdrv=\"%d\" status=\"%s\" />",
                 static_cast<unsigned long>(static_cast<uint32_t>(record.ScriptId)),
                 static_cast<unsigned long>(static_cast<uint32_t>(record.FunctionId)),
                 record.Threshold, record.Value, instance, static_cast<int>(record.IsOsDrive),
                 status);
  if (!fits) return false;
  const size_t used = strnlen(document, capacity);
  if (used + strlen(element) + sizeof kAlertTail > capacity) return false;
  return AppendText(document, capacity, element);
}

bool AppendAlertTail(char* document, size_t capacity) {
  return AppendText(document, capacity, kAlertTail);
}
