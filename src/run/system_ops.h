// Small system operations shared by every part of the agent: registry and profile reads,
// the installation and executable folders, file presence, the system drive and logical drives.
#pragma once

#include <vector>

// Fills InstallPath (from the WOW64 key when running under WOW64) and ModuleFolder.
// Returns 1 when InstallPath was filled, 0 when the value could not be read.
int LookupInstallPath();

// Fills ModuleFolder with the executable's folder; 0 when its path holds no backslash.
int LookupModuleFolder();

// Reads a value under HKEY_LOCAL_MACHINE as text into a 256-byte buffer. Returns 0 and
// leaves out untouched when the key or value is missing or the text needs more than 255
// characters.
int ReadAgentRegistryValue(const char* subkey, const char* valueName, char* out);

// Reads a profile value (at most 254 characters) into a 256-byte buffer; "" when missing.
void ReadIniValue(const char* section, const char* key, const char* file, char* out);

// True when the path names an existing file or folder.
bool FileExists(const char* path);

// Writes the letter of the drive holding the Windows folder to out[0] (out cleared by caller).
bool GetSystemDriveLetter(char* out);

// Appends one upper-case letter per logical drive, in alphabetical order.
bool ListLogicalDrives(std::vector<char>& drives);
