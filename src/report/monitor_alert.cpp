// PostMonitorAlert: the head, one fn element per record with its pause, the tail, then the
// three tries and the archive shared with the status report.
#include "report/monitor_alert.h"

#include "collect/evaluation.h"
#include "log/app_log.h"
#include "report/document_delivery.h"
#include "report/document_text.h"
#include "report/server_url.h"
#include "report/status_report.h"
#include "run/agent_state.h"
#include "run/platform_calls.h"
#include "template/monitor_function.h"

int PostMonitorAlert() {
  DocumentClock clock;
  ReadDocumentClock(&clock);
  if (!CheckPostInterval("LastExecute", StateUnchanged)) return 0;
  char document[kDocumentSize];
  BuildAlertHead(document, sizeof document, AgentIdentity.RegId, TemplateVersion, TemplateId,
                 clock.Date, clock.Time, AgentIdentity.Type);
  size_t leftOut = 0;
  for (const MonitorFunction& record : MonitorFunctions) {
    // An element that does not fit is left out whole: the document stays well-formed.
    if (!AppendAlertElement(document, sizeof document, record)) ++leftOut;
    Platform.Sleep(20);
  }
  AppendAlertTail(document, sizeof document);
  if (leftOut > 0) {
    char counts[64];
    FormatText(counts, sizeof counts, "%lu of %lu", static_cast<unsigned long>(leftOut),
               static_cast<unsigned long>(MonitorFunctions.size()));
    WriteAppLog("Start_web_post", "Error", "web Post", "fn elements left out", counts);
  }
  DeliverDocument(document, kAlertDocument, "\\wpdcmmonalert_N_", clock);
  return 1;
}
