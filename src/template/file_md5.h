// The checksum of the template file: its MD5 digest as 32 lower-case hexadecimal digits,
// or "-1" when the file cannot be opened.
#pragma once

#include <stddef.h>
#include <stdint.h>

// out receives the checksum text (at least 33 bytes).
void ComputeFileMd5(const char* path, char* out, size_t capacity);

// The digest as hexadecimal text, digest byte 0 first, high digit first.
void DigestText(const uint8_t digest[16], char* out, size_t capacity);
