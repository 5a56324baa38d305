// The stand-in provider behind InstallFakeProvider, and builders of answer lists.
#include "support/fake_provider.h"

namespace {

FakeProvider fake;

int __stdcall FakeQuery(VARIANT* request, VARIANT* values, VARIANT* statuses, VARIANT* fourth) {
  ++fake.Calls;
  fake.RequestType = request->vt;
  fake.RequestPaths.clear();
  fake.RequestElementTypes.clear();
  if (request->vt & VT_ARRAY) {
    SAFEARRAY* array = request->parray;
    fake.RequestDimensions = SafeArrayGetDim(array);
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &fake.RequestLowerBound);
    SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = fake.RequestLowerBound; i <= upper; ++i) {
      VARIANT element;
      VariantInit(&element);
      SafeArrayGetElement(array, &i, &element);
      fake.RequestElementTypes.push_back(element.vt);
      fake.RequestPaths.push_back(
          element.vt == VT_BSTR
              ? std::string(element.bstrVal, element.bstrVal + SysStringLen(element.bstrVal))
              : "<not a text>");
      VariantClear(&element);
    }
  }
  VariantCopy(values, &fake.Values);
  VariantCopy(statuses, &fake.Statuses);
  if (fake.FillsFourth) *fourth = TextList({"left behind"});
  return 1;
}

BSTR Bstr(const std::string& text) {
  std::wstring wide(text.begin(), text.end());
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace

void FakeProvider::Answer(VARIANT values, VARIANT statuses) {
  VariantClear(&Values);
  VariantClear(&Statuses);
  Values = values;
  Statuses = statuses;
}

FakeProvider& InstallFakeProvider() {
  VariantClear(&fake.Values);
  VariantClear(&fake.Statuses);
  fake = FakeProvider();
  VariantInit(&fake.Values);
  VariantInit(&fake.Statuses);
  fake.Library.FileName = "tovradc.dll";
  fake.Library.ExportName = "arr_ovelperfgetperformancedata";
  fake.Library.Export = reinterpret_cast<void*>(FakeQuery);
  InstallFakeLibrary(&fake.Library);
  return fake;
}

VARIANT ShapedTextList(const std::vector<std::string>& texts, LONG lowerBound, UINT dimensions) {
  std::vector<SAFEARRAYBOUND> bounds(dimensions, SAFEARRAYBOUND{1, lowerBound});
  bounds[0].cElements = static_cast<ULONG>(texts.size());
  VARIANT list;
  VariantInit(&list);
  list.vt = VT_ARRAY | VT_VARIANT;
  list.parray = SafeArrayCreate(VT_VARIANT, dimensions, bounds.data());
  for (size_t i = 0; i < texts.size(); ++i) {
    std::vector<LONG> index(dimensions, lowerBound);
    index[0] = lowerBound + static_cast<LONG>(i);
    VARIANT element;
    VariantInit(&element);
    element.vt = VT_BSTR;
    element.bstrVal = Bstr(texts[i]);
    SafeArrayPutElement(list.parray, index.data(), &element);
    VariantClear(&element);
  }
  return list;
}

VARIANT TextList(const std::vector<std::string>& texts) {
  return ShapedTextList(texts, 0, 1);
}

VARIANT IntegerList(const std::vector<int>& numbers) {
  SAFEARRAYBOUND bound = {static_cast<ULONG>(numbers.size()), 0};
  VARIANT list;
  VariantInit(&list);
  list.vt = VT_ARRAY | VT_VARIANT;
  list.parray = SafeArrayCreate(VT_VARIANT, 1, &bound);
  for (LONG i = 0; i < static_cast<LONG>(numbers.size()); ++i) {
    VARIANT element;
    VariantInit(&element);
    element.vt = VT_I4;
    element.lVal = numbers[static_cast<size_t>(i)];
    SafeArrayPutElement(list.parray, &i, &element);
  }
  return list;
}
