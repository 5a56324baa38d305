// Values of a profile file read a section at a time: one profile call for the keys of a
// section read one after the other, where each call opens the file again.
#pragma once

// The value of key in section of file, at most 254 characters, into a 256-byte buffer; ""
// when missing. Always the same value as ReadIniValue gives.
void ReadProfileSectionValue(const char* file, const char* section, const char* key, char* out);

// Drops the section read last, so that the next read reads the file again.
void ForgetProfileSection();
