// Conversions between the agent's ANSI texts and the BSTRs of the companion libraries.
// Allocations go through the platform table, so that tests can make them fail.
#include "run/ole_text.h"

#include <new>
#include <vector>

#include "run/bounded_text.h"
#include "run/platform_calls.h"

BSTR AnsiToBstr(const char* text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) throw std::bad_alloc();
  BSTR result = Platform.SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (result == nullptr) throw std::bad_alloc();
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, result, length) != length) {
    SysFreeString(result);
    throw std::bad_alloc();
  }
  return result;
}

void SetBstrVariant(VARIANT* variant, const char* text) {
  BSTR value = AnsiToBstr(text);
  VariantInit(variant);
  variant->vt = VT_BSTR;
  variant->bstrVal = value;
}

void BstrToAnsi(BSTR text, UINT codePage, char* out, size_t capacity) {
  CopyText(out, capacity, "");
  if (text == nullptr) return;
  const int units = static_cast<int>(SysStringLen(text));
  if (units == 0) return;
  int needed = WideCharToMultiByte(codePage, 0, text, units, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) throw std::bad_alloc();
  std::vector<char> converted(static_cast<size_t>(needed) + 1, '\0');
  WideCharToMultiByte(codePage, 0, text, units, converted.data(), needed, nullptr, nullptr);
  CopyText(out, capacity, converted.data());
}
