// One HTTPS POST through WinHTTP: a direct connection or a named proxy, the server's
// certificate always verified, 30-second time-outs, and the answer or the failure.
#pragma once

#include <windows.h>

#include <string>

struct PostRequest {
  std::wstring Url;
  std::string Body;  // sent as it is (UTF-8)
  std::wstring ProxyIp, ProxyPort, ProxyUserName, ProxyPassword;
  bool FollowRedirects = false;
};

struct PostOutcome {
  DWORD TransportError = 0;  // nonzero: no HTTP answer (name, connect, TLS, time-out...)
  DWORD HttpStatus = 0;
  std::wstring Reason;  // the status line's reason phrase
  std::string Body;     // the answer's body as received, at most kLargestAnswer bytes
};

// Answers beyond this size are cut: a reply is a short text.
constexpr size_t kLargestAnswer = 1024 * 1024;

PostOutcome HttpsPost(const PostRequest& request);
