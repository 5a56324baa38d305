// ErrorDescription for the error-description reply of a failed post.
// Some systems (Wine among them) carry no texts for WinHTTP's codes: the fallback table.
#include "error_text.h"

#include <winhttp.h>

namespace {

struct KnownError {
  DWORD Code;
  const wchar_t* Text;
};

// WinHTTP's codes, and the socket codes that some WinHTTP versions pass on instead.
const KnownError kKnownErrors[] = {
    {ERROR_WINHTTP_TIMEOUT, L"The operation timed out"},
    {ERROR_WINHTTP_INTERNAL_ERROR, L"An internal error occurred in WinHTTP"},
    {ERROR_WINHTTP_INVALID_URL, L"The URL is invalid"},
    {ERROR_WINHTTP_UNRECOGNIZED_SCHEME, L"The URL does not use the HTTPS scheme"},
    {ERROR_WINHTTP_NAME_NOT_RESOLVED, L"The server name could not be resolved"},
    {ERROR_WINHTTP_CANNOT_CONNECT, L"A connection with the server could not be established"},
    {ERROR_WINHTTP_CONNECTION_ERROR, L"The connection with the server was reset or ended"},
    {ERROR_WINHTTP_INVALID_SERVER_RESPONSE, L"The server response could not be parsed"},
    {ERROR_WINHTTP_SECURE_FAILURE, L"The server's certificate could not be verified"},
    {ERROR_WINHTTP_SECURE_INVALID_CA, L"The server's certificate chain ends in an untrusted root"},
    {ERROR_WINHTTP_SECURE_CERT_CN_INVALID, L"The server's certificate does not name this host"},
    {ERROR_WINHTTP_SECURE_CERT_DATE_INVALID, L"The server's certificate has expired"},
    {ERROR_WINHTTP_SECURE_CHANNEL_ERROR, L"The secure channel with the server failed"},
    {ERROR_WINHTTP_SECURE_INVALID_CERT, L"The server's certificate is invalid"},
    {ERROR_WINHTTP_SECURE_CERT_REVOKED, L"The server's certificate has been revoked"},
    {ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE, L"The server's certificate is not for server use"},
    {ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, L"The server requires a client certificate"},
    {10054, L"The connection was reset by the server"},
    {10060, L"The server did not answer in time"},
    {10061, L"The server refused the connection"},
    {10065, L"The server cannot be reached"},
};

std::wstring FromMessageTable(DWORD flags, HMODULE source, DWORD code) {
  wchar_t* text = nullptr;
  DWORD length =
      FormatMessageW(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, source,
                     code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result;
  if (length > 0 && text != nullptr) {
    result.assign(text, length);
    while (!result.empty() && (result.back() == L'\r' || result.back() == L'\n' ||
                               result.back() == L' ' || result.back() == L'.')) {
      result.pop_back();
    }
  }
  if (text != nullptr) LocalFree(text);
  return result;
}

}  // namespace

std::wstring ErrorDescription(DWORD code) {
  std::wstring text;
  if (code >= WINHTTP_ERROR_BASE && code <= WINHTTP_ERROR_LAST) {
    HMODULE winhttp = GetModuleHandleW(L"winhttp.dll");
    if (winhttp != nullptr) text = FromMessageTable(FORMAT_MESSAGE_FROM_HMODULE, winhttp, code);
  } else {
    text = FromMessageTable(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
  }
  if (!text.empty()) return text;
  for (const KnownError& known : kKnownErrors) {
    if (known.Code == code) return known.Text;
  }
  return L"Error " + std::to_wstring(code);
}
