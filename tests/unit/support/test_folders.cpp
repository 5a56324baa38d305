// Temp folders, a private local-machine registry root and the reset of the agent's texts.
// Names carry the process id and a counter, so that parallel test processes never meet.
#include "support/test_folders.h"

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <sstream>

#include "log/log_library.h"
#include "run/agent_state.h"

namespace {
int counter;

std::string UniqueName(const char* stem) {
  char name[64];
  snprintf(name, sizeof name, "%s%lu_%d", stem, GetCurrentProcessId(), ++counter);
  return name;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}
}  // namespace

TempFolder::TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + UniqueName("qt");
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

void TempFolder::WriteFile(const std::string& name, const std::string& content) const {
  std::ofstream out(Join(name), std::ios::binary);
  out << content;
}

std::string TempFolder::ReadFile(const std::string& name) const {
  std::ifstream in(Join(name), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

PrivateLocalMachine::PrivateLocalMachine()
    : keyName_("Software\\QuintrelTests\\" + UniqueName("hklm")) {
  RegCreateKeyExA(HKEY_CURRENT_USER, keyName_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &root_, nullptr);
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, root_);
}

PrivateLocalMachine::~PrivateLocalMachine() {
  RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  RegCloseKey(root_);
  RegDeleteTreeA(HKEY_CURRENT_USER, keyName_.c_str());
}

void PrivateLocalMachine::SetValue(const std::string& subkey, const std::string& name, DWORD type,
                                   const void* data, DWORD size) {
  HKEY key;
  RegCreateKeyExA(root_, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void PrivateLocalMachine::SetString(const std::string& subkey, const std::string& name,
                                    const std::string& value) {
  SetValue(subkey, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ResetAgentState() {
  InstallPath[0] = '\0';
  ModuleFolder[0] = '\0';
  memset(&AgentIdentity, 0, sizeof AgentIdentity);
  LogDataToDisk = nullptr;
}
