// An in-process stand-in for tovradc.dll: records the request of each call and answers with
// the two lists a test prepared, of any shape.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "support/fake_libraries.h"

struct FakeProvider {
  FakeLibrary Library;
  // Copied into the value and status lists of each call (VT_EMPTY: left empty).
  VARIANT Values;
  VARIANT Statuses;
  // Something left in the fourth argument, which the agent must free.
  bool FillsFourth = false;
  // What it saw.
  int Calls = 0;
  VARTYPE RequestType = VT_EMPTY;
  UINT RequestDimensions = 0;
  LONG RequestLowerBound = -1;
  std::vector<std::string> RequestPaths;
  std::vector<VARTYPE> RequestElementTypes;
  // Set the answer; the lists are owned by the fake from then on.
  void Answer(VARIANT values, VARIANT statuses);
};

FakeProvider& InstallFakeProvider();

// A zero-based list of VARIANT texts, as a provider answers.
VARIANT TextList(const std::vector<std::string>& texts);
// A zero-based list of VARIANTs holding 32-bit integers.
VARIANT IntegerList(const std::vector<int>& numbers);
// A list of texts with the lower bound and dimensions given (the texts fill it in order).
VARIANT ShapedTextList(const std::vector<std::string>& texts, LONG lowerBound, UINT dimensions);
