// PostToServer: URL and proxy settings read anew, the library loaded for the one call,
// every step logged under "directWeb_Post", and the three replies judged.
#include "report/web_post.h"

#include <string.h>

#include "log/app_log.h"
#include "report/server_url.h"
#include "run/agent_state.h"
#include "run/bounded_text.h"
#include "run/ole_text.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

#ifndef QUINTREL_DEFAULT_SERVER_HOST
#error "QUINTREL_DEFAULT_SERVER_HOST must name the default reporting server"
#endif
const char kDefaultServerHost[] = QUINTREL_DEFAULT_SERVER_HOST;

namespace {

const char kModule[] = "directWeb_Post";
const char kMaintenanceMarker[] = "umaint='0'";
constexpr size_t kReplySize = 1024;

struct ProxySettings {
  char Ip[kTextSize];
  char Port[kTextSize];
  char UserName[kTextSize];
  char Password[kTextSize];
};

void ReadProxySettings(ProxySettings* proxy) {
  char file[kUrlSize];
  FormatText(file, sizeof file, "%sKorvMobile.ini", InstallPath);
  struct Key {
    const char* Name;
    char* Value;
    bool Secret;
  } keys[] = {{"ProxyIP", proxy->Ip, false},
              {"ProxyPort", proxy->Port, false},
              {"ProxyUserName", proxy->UserName, false},
              {"ProxyPassword", proxy->Password, true}};
  for (const Key& key : keys) {
    ReadIniValue("ProxySettings", key.Name, file, key.Value);
    // The password never reaches the log; the line only tells whether one is set.
    const char* shown = key.Secret ? (key.Value[0] != '\0' ? "********" : "") : key.Value;
    WriteAppLog(kModule, "Info", key.Name, shown, " ");
  }
}

void ComposeUrl(int kind, char* url) {
  char host[kTextSize] = {};
  if (!ReadAgentRegistryValue(kAgentRegistryKey, "ServerHost", host) || host[0] == '\0') {
    CopyText(host, kDefaultServerHost);
  }
  ComposeServerUrl(url, kUrlSize, host, kind, AgentIdentity.MemberId, AgentIdentity.SiteId,
                   AgentIdentity.RegId, AgentIdentity.Type);
}

// A reply is present when the library left anything in its VARIANT; a text reads as its
// characters, anything else as the empty text.
bool ReadReply(const VARIANT& reply, char* text) {
  CopyText(text, kReplySize, "");
  if (reply.vt == VT_EMPTY) return false;
  if (reply.vt == VT_BSTR) BstrToAnsi(reply.bstrVal, CP_THREAD_ACP, text, kReplySize);
  return true;
}

// Makes the seven inputs, calls the library and clears the inputs, also when a conversion
// fails on the way.
void CallWebPostData(WebPostDataFn webPostData, const char* url, const char* document,
                     const ProxySettings& proxy, VARIANT replies[3]) {
  const char* texts[7] = {url, document, "N", proxy.Ip, proxy.Port, proxy.UserName, proxy.Password};
  VARIANT inputs[7];
  for (VARIANT& input : inputs)
    VariantInit(&input);
  try {
    for (int i = 0; i < 7; ++i)
      SetBstrVariant(&inputs[i], texts[i]);
    webPostData(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4], inputs[5], inputs[6],
                &replies[0], &replies[1], &replies[2]);
  } catch (...) {
    for (VARIANT& input : inputs)
      VariantClear(&input);
    throw;
  }
  for (VARIANT& input : inputs)
    VariantClear(&input);
}

bool JudgeReplies(const VARIANT replies[3]) {
  char status[kReplySize], errorCode[kReplySize], errorDescription[kReplySize];
  const bool hasStatus = ReadReply(replies[0], status);
  const bool hasErrorCode = ReadReply(replies[1], errorCode);
  const bool hasErrorDescription = ReadReply(replies[2], errorDescription);
  if (!hasErrorCode) {
    if (!hasStatus) return false;
    WriteAppLog(kModule, "Info", "web Post", "Status", status);
    return strstr(status, kMaintenanceMarker) == nullptr;
  }
  WriteAppLog(kModule, "Error", "web Post", "Error Code", errorCode);
  if (hasErrorDescription) {
    WriteAppLog(kModule, "Error", "web Post", "Error Desc", errorDescription);
  }
  if (hasStatus) WriteAppLog(kModule, "Info", "web Post", "Return Status", status);
  return false;
}

void EndCall(HMODULE library, VARIANT replies[3]) {
  Platform.FreeLibrary(library);
  for (int i = 0; i < 3; ++i)
    VariantClear(&replies[i]);
}

}  // namespace

bool PostToServer(const char* document, int kind) {
  char url[kUrlSize];
  ComposeUrl(kind, url);
  WriteAppLog(kModule, "Info", "ControllerSSite", url, " ");
  ProxySettings proxy;
  ReadProxySettings(&proxy);
  WriteAppLog(kModule, "Info", "web Post", "Start", " ");
  WriteAppLog(kModule, "Info", "web Post", document, " ");

  char libraryPath[kTextSize];
  FormatText(libraryPath, sizeof libraryPath, "%s\\Lorsend.dll", InstallPath);
  HMODULE library = Platform.LoadLibraryA(libraryPath);
  if (library == nullptr) {
    WriteAppLog(kModule, "Error", "", "", "web Post Dll missing ");
    return false;
  }
  WebPostDataFn webPostData = reinterpret_cast<WebPostDataFn>(
      reinterpret_cast<void*>(Platform.GetProcAddress(library, "WebPostData")));
  if (webPostData == nullptr) {
    WriteAppLog(kModule, "Error", "", "fn", "web Post Dll missing  ");
    Platform.FreeLibrary(library);
    return false;
  }
  WriteAppLog(kModule, "Info", "web Post", "Start", " ");
  Platform.Sleep(40);

  VARIANT replies[3];
  for (VARIANT& reply : replies)
    VariantInit(&reply);
  bool accepted = false;
  try {
    CallWebPostData(webPostData, url, document, proxy, replies);
    WriteAppLog(kModule, "Info", "web Post", "End", " ");
    accepted = JudgeReplies(replies);
  } catch (...) {
    EndCall(library, replies);
    throw;
  }
  EndCall(library, replies);
  return accepted;
}
