// ReadProfileSectionValue: under Wine every profile call opens the file (four round trips to
// the server), and the template is read key by key, section after section. So a section is
// read whole and kept while its keys are read. A section holding anything but plain
// key=value lines is read key by key, as before, so every value is the per-key read's.
#include "template/profile_section.h"

#include <string.h>

#include <string>
#include <vector>

#include "run/bounded_text.h"
#include "run/platform_calls.h"
#include "run/system_ops.h"

namespace {

// Longer lines are left to the per-key read, which cuts values at 254 characters.
constexpr size_t kLongestPlainEntry = 250;
constexpr DWORD kSectionBufferSize = 32 * 1024;

struct CachedSection {
  bool Valid = false;
  bool Plain = false;  // every entry plain: look the keys up here
  std::string File;
  std::string Name;
  std::vector<std::string> Entries;  // "key=value" in file order
};

CachedSection Cached;

// Printable ASCII without blanks: the per-key read neither trims it nor folds its case
// beyond the letters A to Z.
bool IsPlainText(const char* text, size_t length) {
  if (length == 0) return false;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] < 0x21 || text[i] > 0x7e) return false;
  }
  return true;
}

// key=value in plain text, with a key, and no quote opening the value (the per-key read
// takes off a pair of quotes).
bool IsPlainEntry(const char* entry, size_t length) {
  if (length > kLongestPlainEntry || !IsPlainText(entry, length)) return false;
  const char* equals = static_cast<const char*>(memchr(entry, '=', length));
  return equals != nullptr && equals != entry && equals[1] != '"' && equals[1] != '\'';
}

void ReadSection(const char* file, const char* section) {
  Cached.Valid = true;
  Cached.File = file;
  Cached.Name = section;
  Cached.Entries.clear();
  std::vector<char> text(kSectionBufferSize, '\0');
  const DWORD length =
      Platform.GetPrivateProfileSectionA(section, text.data(), kSectionBufferSize, file);
  // A section that does not fit is cut: its keys are read one by one.
  Cached.Plain = length < kSectionBufferSize - 2;
  const char* end = text.data() + length;
  for (const char* entry = text.data(); Cached.Plain && entry < end && *entry != '\0';) {
    const size_t size = strnlen(entry, static_cast<size_t>(end - entry));
    Cached.Plain = IsPlainEntry(entry, size);
    Cached.Entries.emplace_back(entry, size);
    entry += size + 1;
  }
}

bool IsCached(const char* file, const char* section) {
  return Cached.Valid && Cached.File == file && Cached.Name == section;
}

}  // namespace

void ReadProfileSectionValue(const char* file, const char* section, const char* key, char* out) {
  if (!IsPlainText(section, strlen(section)) || !IsPlainText(key, strlen(key)) ||
      strchr(key, '=') != nullptr) {
    ReadIniValue(section, key, file, out);
    return;
  }
  if (!IsCached(file, section)) ReadSection(file, section);
  if (!Cached.Plain) {
    ReadIniValue(section, key, file, out);
    return;
  }
  CopyText(out, kTextSize, "");
  for (const std::string& entry : Cached.Entries) {
    const size_t equals = entry.find('=');
    if (EqualNoCase(entry.substr(0, equals).c_str(), key)) {
      CopyText(out, kTextSize, entry.c_str() + equals + 1);
      return;
    }
  }
}

void ForgetProfileSection() {
  Cached = CachedSection();
}
