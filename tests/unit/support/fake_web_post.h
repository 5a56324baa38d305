// An in-process stand-in for Lorsend.dll: the platform table's library calls are pointed at
// it, it records each WebPostData call and answers with scripted replies.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "support/fake_libraries.h"

struct FakeWebPost {
  FakeLibrary Library;  // whether it loads and has its export; its loads and frees
  // What the library answers.
  VARTYPE ReplyTypes[3] = {VT_EMPTY, VT_EMPTY, VT_EMPTY};
  std::wstring ReplyTexts[3];
  // What it saw.
  int Calls = 0;
  std::vector<std::string> Inputs;  // the seven texts of the last call
  std::vector<VARTYPE> InputTypes;
  std::vector<std::string> Documents;  // the document of every call

  // Status reply only (VT_BSTR), as an accepting server gives it.
  void Accept(const wchar_t* status = L"umaint='1'");
  // An error-code reply, as a failed post gives it.
  void Refuse(const wchar_t* code = L"12029");
};

// Installs the stand-in into the platform table (restore it with a PlatformGuard) and
// returns it, reset.
FakeWebPost& InstallFakeWebPost();
