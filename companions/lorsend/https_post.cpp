// HttpsPost over WinHTTP. Proxy credentials are given the standard way (options, then
// WinHttpSetCredentials on a 407), never as a hand-made header that would reach the server.
#include "https_post.h"

#include <winhttp.h>

#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kMostSends = 2;  // the first send, and one more after a proxy challenge

struct Handles {
  HINTERNET Session = nullptr, Connection = nullptr, Request = nullptr;
  ~Handles() {
    if (Request) WinHttpCloseHandle(Request);
    if (Connection) WinHttpCloseHandle(Connection);
    if (Session) WinHttpCloseHandle(Session);
  }
};

DWORD Failure() {
  DWORD error = GetLastError();
  return error != 0 ? error : ERROR_WINHTTP_INTERNAL_ERROR;
}

// The strongest scheme the proxy offers that WinHTTP can answer with the given password.
DWORD ChooseScheme(DWORD offered) {
  const DWORD preferred[] = {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM,
                             WINHTTP_AUTH_SCHEME_DIGEST, WINHTTP_AUTH_SCHEME_BASIC};
  for (DWORD scheme : preferred) {
    if (offered & scheme) return scheme;
  }
  return 0;
}

bool SetDword(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof value) != 0;
}

bool SetText(HINTERNET handle, DWORD option, const std::wstring& text) {
  return WinHttpSetOption(handle, option, const_cast<wchar_t*>(text.c_str()),
                          static_cast<DWORD>(text.size())) != 0;
}

DWORD ReadAnswer(HINTERNET request, PostOutcome* outcome) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return Failure();
  }
  outcome->HttpStatus = status;
  wchar_t reason[256] = {};
  size = sizeof reason - sizeof(wchar_t);
  if (WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_TEXT, WINHTTP_HEADER_NAME_BY_INDEX, reason,
                          &size, WINHTTP_NO_HEADER_INDEX)) {
    outcome->Reason = reason;
  }
  std::vector<char> chunk(16384);
  for (;;) {
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk.data(), static_cast<DWORD>(chunk.size()), &read)) {
      return Failure();
    }
    if (read == 0) break;
    size_t room = kLargestAnswer - outcome->Body.size();
    outcome->Body.append(chunk.data(), read < room ? read : room);
    if (outcome->Body.size() == kLargestAnswer) break;
  }
  return 0;
}

DWORD Post(const PostRequest& request, PostOutcome* outcome) {
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength =
      static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(request.Url.c_str(), 0, 0, &parts)) return Failure();
  if (parts.nScheme != INTERNET_SCHEME_HTTPS) return ERROR_WINHTTP_UNRECOGNIZED_SCHEME;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  Handles h;
  const bool viaProxy = !request.ProxyIp.empty();
  std::wstring proxy = request.ProxyIp;
  if (viaProxy && !request.ProxyPort.empty()) proxy += L":" + request.ProxyPort;
  h.Session = WinHttpOpen(
      L"Lorsend/1.1", viaProxy ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
      viaProxy ? proxy.c_str() : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (!h.Session) return Failure();
  if (!WinHttpSetTimeouts(h.Session, kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs)) {
    return Failure();
  }
  h.Connection = WinHttpConnect(h.Session, host.c_str(), parts.nPort, 0);
  if (!h.Connection) return Failure();
  h.Request = WinHttpOpenRequest(h.Connection, L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                 WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
  if (!h.Request) return Failure();
  // Without this option some WinHTTP versions wait for a silent server for ever.
  SetDword(h.Request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, kTimeoutMs);
  SetDword(h.Request, WINHTTP_OPTION_REDIRECT_POLICY,
           request.FollowRedirects ? WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP
                                   : WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
  // The workstation's own logon is never offered to the server unasked.
  SetDword(h.Request, WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH);
  const bool proxyCredentials = viaProxy && !request.ProxyUserName.empty();
  if (proxyCredentials) {
    SetText(h.Request, WINHTTP_OPTION_PROXY_USERNAME, request.ProxyUserName);
    SetText(h.Request, WINHTTP_OPTION_PROXY_PASSWORD, request.ProxyPassword);
  }

  const wchar_t kHeaders[] = L"Content-Type: text/xml; charset=utf-8";
  bool answeredChallenge = false;
  for (int send = 0; send < kMostSends; ++send) {
    outcome->Body.clear();
    if (!WinHttpSendRequest(
            h.Request, kHeaders, static_cast<DWORD>(-1), const_cast<char*>(request.Body.data()),
            static_cast<DWORD>(request.Body.size()), static_cast<DWORD>(request.Body.size()), 0) ||
        !WinHttpReceiveResponse(h.Request, nullptr)) {
      return Failure();
    }
    DWORD error = ReadAnswer(h.Request, outcome);
    if (error != 0) return error;
    if (outcome->HttpStatus != HTTP_STATUS_PROXY_AUTH_REQ || !proxyCredentials ||
        answeredChallenge) {
      return 0;
    }
    DWORD offered = 0, first = 0, target = 0;
    if (!WinHttpQueryAuthSchemes(h.Request, &offered, &first, &target)) return 0;
    DWORD scheme = ChooseScheme(offered);
    if (scheme == 0 || !WinHttpSetCredentials(h.Request, WINHTTP_AUTH_TARGET_PROXY, scheme,
                                              request.ProxyUserName.c_str(),
                                              request.ProxyPassword.c_str(), nullptr)) {
      return 0;  // the 407 stands as the answer
    }
    answeredChallenge = true;
  }
  return 0;
}

}  // namespace

PostOutcome HttpsPost(const PostRequest& request) {
  PostOutcome outcome;
  outcome.TransportError = Post(request, &outcome);
  if (outcome.TransportError != 0) {
    outcome.HttpStatus = 0;
    outcome.Reason.clear();
    outcome.Body.clear();
  }
  return outcome;
}
