// Lorsend.dll: the suite's web-post library. WebPostData posts one document over HTTPS and
// answers with up to three BSTR replies: the status (the server's answer), an error code and
// an error description.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "error_text.h"
#include "https_post.h"

// Exported under its plain name through lorsend.def. The seven inputs belong to the caller
// and are only read; the three replies are expected empty and are filled with new BSTRs.
// mode: "N" posts without following redirects (what the agent asks for); "Y" follows
// redirects that stay on HTTPS.
extern "C" int __stdcall WebPostData(VARIANT url, VARIANT document, VARIANT mode, VARIANT proxyIp,
                                     VARIANT proxyPort, VARIANT proxyUserName,
                                     VARIANT proxyPassword, VARIANT* status, VARIANT* errorCode,
                                     VARIANT* errorDescription);

namespace {

std::wstring TextOf(const VARIANT& v) {
  if (v.vt != VT_BSTR || v.bstrVal == nullptr) return std::wstring();
  return std::wstring(v.bstrVal, SysStringLen(v.bstrVal));
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size,
                        nullptr, nullptr);
  }
  return result;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) {
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size);
  }
  return result;
}

void Reply(VARIANT* out, const std::wstring& text) {
  if (out == nullptr) return;
  BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (value == nullptr) return;  // out of memory: the reply stays absent
  VariantInit(out);
  out->vt = VT_BSTR;
  out->bstrVal = value;
}

int PostAndReply(const VARIANT& url, const VARIANT& document, const VARIANT& mode,
                 const VARIANT& proxyIp, const VARIANT& proxyPort, const VARIANT& proxyUserName,
                 const VARIANT& proxyPassword, VARIANT* status, VARIANT* errorCode,
                 VARIANT* errorDescription) {
  PostRequest request;
  request.Url = TextOf(url);
  request.Body = ToUtf8(TextOf(document));
  request.ProxyIp = TextOf(proxyIp);
  request.ProxyPort = TextOf(proxyPort);
  request.ProxyUserName = TextOf(proxyUserName);
  request.ProxyPassword = TextOf(proxyPassword);
  request.FollowRedirects = TextOf(mode) == L"Y";

  const PostOutcome outcome = HttpsPost(request);
  if (outcome.TransportError != 0) {
    Reply(errorCode, std::to_wstring(outcome.TransportError));
    Reply(errorDescription, ErrorDescription(outcome.TransportError));
    return 0;
  }
  Reply(status, FromUtf8(outcome.Body));
  if (outcome.HttpStatus >= 200 && outcome.HttpStatus <= 299) return 1;
  Reply(errorCode, std::to_wstring(outcome.HttpStatus));
  Reply(errorDescription, outcome.Reason);
  return 0;
}

}  // namespace

int __stdcall WebPostData(VARIANT url, VARIANT document, VARIANT mode, VARIANT proxyIp,
                          VARIANT proxyPort, VARIANT proxyUserName, VARIANT proxyPassword,
                          VARIANT* status, VARIANT* errorCode, VARIANT* errorDescription) {
  try {
    return PostAndReply(url, document, mode, proxyIp, proxyPort, proxyUserName, proxyPassword,
                        status, errorCode, errorDescription);
  } catch (...) {  // nothing may cross into the caller: out of memory leaves the replies
    return 0;
  }
}
