// Test stand-in for Lorsend.dll that answers from a script beside it, replies of any type.
// lorsend_script.txt: three lines, one per reply (status, error code, error description),
// each "<VARIANT type number>:<text>": 0 leaves the reply empty, 8 gives the text as a BSTR,
// 3 gives the number 7 as a 32-bit integer. Every document it receives is appended to
// lorsend_posts.txt, one per line.
#include <windows.h>
#include <oleauto.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "beside_library.h"

extern "C" int __stdcall WebPostData(VARIANT url, VARIANT document, VARIANT mode, VARIANT ip,
                                     VARIANT port, VARIANT user, VARIANT password, VARIANT* status,
                                     VARIANT* errorCode, VARIANT* errorDescription);

namespace {

std::string Beside(const char* name) {
  return BesideModuleOf(reinterpret_cast<const void*>(&WebPostData), name);
}

void Answer(VARIANT* reply, const char* line) {
  const int type = atoi(line);
  const char* colon = strchr(line, ':');
  const std::string text = colon ? colon + 1 : "";
  if (type == VT_BSTR) {
    std::wstring wide(text.begin(), text.end());
    reply->vt = VT_BSTR;
    reply->bstrVal = SysAllocString(wide.c_str());
  } else if (type == VT_I4) {
    reply->vt = VT_I4;
    reply->lVal = 7;
  }
}

}  // namespace

int __stdcall WebPostData(VARIANT, VARIANT document, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                          VARIANT* status, VARIANT* errorCode, VARIANT* errorDescription) {
  if (FILE* posts = fopen(Beside("lorsend_posts.txt").c_str(), "ab")) {
    if (document.vt == VT_BSTR && document.bstrVal != nullptr) {
      std::wstring wide(document.bstrVal, SysStringLen(document.bstrVal));
      fprintf(posts, "%s\n", std::string(wide.begin(), wide.end()).c_str());
    }
    fclose(posts);
  }
  char lines[3][512] = {"0:", "0:", "0:"};
  if (FILE* script = fopen(Beside("lorsend_script.txt").c_str(), "rb")) {
    for (auto& line : lines) {
      if (!fgets(line, sizeof line, script)) break;
      line[strcspn(line, "\r\n")] = '\0';
    }
    fclose(script);
  }
  Answer(status, lines[0]);
  Answer(errorCode, lines[1]);
  Answer(errorDescription, lines[2]);
  return 1;
}
