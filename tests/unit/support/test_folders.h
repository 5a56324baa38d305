// Private places for one test: a fresh folder under the Windows temp folder, and a private
// HKEY_LOCAL_MACHINE, so that tests run side by side without touching each other.
#pragma once

#include <windows.h>

#include <string>

// A new empty folder, removed with its content when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder without a trailing backslash.
  const std::string& Path() const { return path_; }
  std::string Join(const std::string& name) const { return path_ + "\\" + name; }
  void WriteFile(const std::string& name, const std::string& content) const;
  std::string ReadFile(const std::string& name) const;

 private:
  std::string path_;
};

// Redirects HKEY_LOCAL_MACHINE of this process to a fresh key under HKEY_CURRENT_USER.
class PrivateLocalMachine {
 public:
  PrivateLocalMachine();
  ~PrivateLocalMachine();
  PrivateLocalMachine(const PrivateLocalMachine&) = delete;
  PrivateLocalMachine& operator=(const PrivateLocalMachine&) = delete;
  void SetValue(const std::string& subkey, const std::string& name, DWORD type, const void* data,
                DWORD size);
  void SetString(const std::string& subkey, const std::string& name, const std::string& value);

 private:
  std::string keyName_;
  HKEY root_ = nullptr;
};

// Clears the agent's process-wide texts, as at the start of a process.
void ResetAgentState();
