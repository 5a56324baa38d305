// The stand-in web-post library behind InstallFakeWebPost.
// A fixed fake module handle marks the library; other modules pass through to the system.
#include "support/fake_web_post.h"

#include <gtest/gtest.h>

namespace {

FakeWebPost fake;

std::string Narrow(const VARIANT& v) {
  if (v.vt != VT_BSTR || v.bstrVal == nullptr) return "<not a text>";
  return std::string(v.bstrVal, v.bstrVal + SysStringLen(v.bstrVal));
}

int __stdcall FakeWebPostData(VARIANT url, VARIANT document, VARIANT mode, VARIANT ip, VARIANT port,
                              VARIANT user, VARIANT password, VARIANT* status, VARIANT* errorCode,
                              VARIANT* errorDescription) {
  ++fake.Calls;
  fake.Inputs.clear();
  fake.InputTypes.clear();
  for (const VARIANT* v : {&url, &document, &mode, &ip, &port, &user, &password}) {
    fake.Inputs.push_back(Narrow(*v));
    fake.InputTypes.push_back(v->vt);
  }
  fake.Documents.push_back(Narrow(document));
  VARIANT* replies[3] = {status, errorCode, errorDescription};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(VT_EMPTY, replies[i]->vt) << "replies must be empty on entry";
    replies[i]->vt = fake.ReplyTypes[i];
    if (fake.ReplyTypes[i] == VT_BSTR) {
      replies[i]->bstrVal = SysAllocString(fake.ReplyTexts[i].c_str());
    } else if (fake.ReplyTypes[i] == VT_I4) {
      replies[i]->lVal = 7;
    }
  }
  return 1;
}

}  // namespace

void FakeWebPost::Accept(const wchar_t* status) {
  ReplyTypes[0] = VT_BSTR;
  ReplyTexts[0] = status;
  ReplyTypes[1] = ReplyTypes[2] = VT_EMPTY;
}

void FakeWebPost::Refuse(const wchar_t* code) {
  ReplyTypes[0] = VT_EMPTY;
  ReplyTypes[1] = VT_BSTR;
  ReplyTexts[1] = code;
  ReplyTypes[2] = VT_EMPTY;
}

FakeWebPost& InstallFakeWebPost() {
  fake = FakeWebPost();
  fake.Library.FileName = "Lorsend.dll";
  fake.Library.ExportName = "WebPostData";
  fake.Library.Export = reinterpret_cast<void*>(FakeWebPostData);
  InstallFakeLibrary(&fake.Library);
  return fake;
}
