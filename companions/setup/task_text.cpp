// Conversion of the helper's ANSI texts (the task document) to the BSTRs of the Task
// Scheduler; a failure gives nullptr rather than an exception.
#include "task_text.h"

BSTR NewBstrFromAnsi(const char* text) {
  int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 0) return nullptr;
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units - 1));
  if (result == nullptr) return nullptr;
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, result, units) != units) {
    SysFreeString(result);
    return nullptr;
  }
  return result;
}
