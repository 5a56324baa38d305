// ReportStatus: one failure message as a status document, at most one per four hours,
// posted with three tries and archived when none succeeds.
#include "report/status_report.h"

#include "report/document_delivery.h"
#include "report/document_text.h"
#include "report/server_url.h"
#include "run/agent_state.h"

int ReportStatus(const char* message) {
  if (!CheckPostInterval("LastError", 1)) return 0;
  DocumentClock clock;
  ReadDocumentClock(&clock);
  // Always fits: texts of 255 characters escape to at most 1,530.
  char document[kDocumentSize];
  BuildStatusDocument(document, sizeof document, AgentIdentity.RegId, clock.Date, clock.Time,
                      message);
  DeliverDocument(document, kStatusDocument, "\\wpdcmsccdskmonins_N_Quintrel", clock);
  return 1;
}
