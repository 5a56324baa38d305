// The calls to the Task Scheduler service that store the agent's task from its document and
// delete it again.
#include "agent_task.h"

#include <oleauto.h>
#include <taskschd.h>

#include "task_text.h"

const wchar_t kAgentTaskName[] = L"Quintrel";

namespace {

// The account the task runs as, named as the registration expects it.
const wchar_t kSystemAccount[] = L"SYSTEM";

template <class Interface>
void Release(Interface*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

HRESULT OpenRootFolder(ITaskService* service, ITaskFolder** root) {
  BSTR path = SysAllocString(L"\\");
  if (path == nullptr) return E_OUTOFMEMORY;
  HRESULT result = service->GetFolder(path, root);
  SysFreeString(path);
  return result;
}

// Starts COM on this thread and connects to the local Task Scheduler service. On success
// the caller ends with CloseScheduler.
HRESULT OpenScheduler(ITaskService** service, ITaskFolder** root) {
  *service = nullptr;
  *root = nullptr;
  HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (FAILED(result)) return result;
  // The service is called through RPC: ask for encrypted calls that may act as us. A
  // second call in the same process fails harmlessly (RPC_E_TOO_LATE).
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, 0, nullptr);
  result = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                            reinterpret_cast<void**>(service));
  if (SUCCEEDED(result)) {
    VARIANT local;  // empty: this machine, this account
    VariantInit(&local);
    result = (*service)->Connect(local, local, local, local);
  }
  if (SUCCEEDED(result)) result = OpenRootFolder(*service, root);
  if (FAILED(result)) {
    Release(*service);
    CoUninitialize();
  }
  return result;
}

void CloseScheduler(ITaskService*& service, ITaskFolder*& root) {
  Release(root);
  Release(service);
  CoUninitialize();
}

HRESULT StoreTask(ITaskFolder* root, const char* taskXml) {
  BSTR name = SysAllocString(kAgentTaskName);
  BSTR xml = NewBstrFromAnsi(taskXml);
  VARIANT account;
  VariantInit(&account);
  account.vt = VT_BSTR;
  account.bstrVal = SysAllocString(kSystemAccount);
  VARIANT none;  // a service account has no password, and the task keeps the default rights
  VariantInit(&none);
  IRegisteredTask* registered = nullptr;
  HRESULT result = E_OUTOFMEMORY;
  if (name != nullptr && xml != nullptr && account.bstrVal != nullptr)
    result = root->RegisterTask(name, xml, TASK_CREATE_OR_UPDATE, account, none,
                                TASK_LOGON_SERVICE_ACCOUNT, none, &registered);
  Release(registered);
  VariantClear(&account);
  SysFreeString(xml);
  SysFreeString(name);
  return result;
}

}  // namespace

HRESULT RegisterAgentTask(const char* taskXml) {
  ITaskService* service;
  ITaskFolder* root;
  HRESULT result = OpenScheduler(&service, &root);
  if (FAILED(result)) return result;
  result = StoreTask(root, taskXml);
  CloseScheduler(service, root);
  return result;
}

HRESULT DeleteAgentTask() {
  ITaskService* service;
  ITaskFolder* root;
  HRESULT result = OpenScheduler(&service, &root);
  if (FAILED(result)) return result;
  BSTR name = SysAllocString(kAgentTaskName);
  result = name != nullptr ? root->DeleteTask(name, 0) : E_OUTOFMEMORY;
  SysFreeString(name);
  if (result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) result = S_OK;
  CloseScheduler(service, root);
  return result;
}
