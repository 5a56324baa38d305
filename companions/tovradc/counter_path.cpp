// ClassifyCounterPath: the four counter paths of the agent's template, matched exactly but for
// the case of letters, and the shape test that sends other paths to PDH.
#include "counter_path.h"

namespace {

wchar_t Lower(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameText(const wchar_t* a, const wchar_t* b) {
  for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
  }
  return *a == *b;
}

bool StartsWith(const wchar_t* text, const wchar_t* prefix) {
  for (; *prefix != L'\0'; ++text, ++prefix) {
    if (Lower(*text) != Lower(*prefix)) return false;
  }
  return true;
}

}  // namespace

CounterKind ClassifyCounterPath(const wchar_t* path, char* drive) {
  if (path == nullptr || path[0] != L'\\' || path[1] == L'\0') return kBadPath;
  if (SameText(path, L"\\Processor(_Total)\\% Processor Time")) return kProcessorTime;
  if (SameText(path, L"\\Memory\\Available MBytes")) return kAvailableMegabytes;
  const wchar_t kDisk[] = L"\\LogicalDisk(";
  if (StartsWith(path, kDisk)) {
    const wchar_t* p = path + (sizeof kDisk / sizeof kDisk[0] - 1);
    const wchar_t letter = p[0];
    const bool isLetter = (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
    if (isLetter && p[1] == L':' && p[2] == L')') {
      *drive = static_cast<char>(letter >= L'a' ? letter - L'a' + L'A' : letter);
      if (SameText(p + 3, L"\\% Free Space")) return kPercentFreeSpace;
      if (SameText(p + 3, L"\\Free Megabytes")) return kFreeMegabytes;
    }
  }
  // A counter path has at least an object and a counter: \object\counter.
  for (const wchar_t* p = path + 1; *p != L'\0'; ++p) {
    if (*p == L'\\' && p[1] != L'\0') return kOtherCounter;
  }
  return kBadPath;
}
