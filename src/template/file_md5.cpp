// ComputeFileMd5 with the platform's MD5 (CNG): the file read in binary mode through a
// 1,024-byte buffer. A read error ends the reading like the end of the file.
#include "template/file_md5.h"

#include <windows.h>
#include <bcrypt.h>

#include <stdio.h>

#include "run/bounded_text.h"
#include "run/platform_calls.h"

void DigestText(const uint8_t digest[16], char* out, size_t capacity) {
  CopyText(out, capacity, "");
  for (int i = 0; i < 16; ++i)
    AppendFormat(out, capacity, "%02x", digest[i]);
}

void ComputeFileMd5(const char* path, char* out, size_t capacity) {
  CopyText(out, capacity, "-1");
  FILE* file = Platform.fopen(path, "rb");
  if (file == nullptr) return;
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  uint8_t digest[16] = {};
  bool hashed = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0) >= 0 &&
                BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) >= 0;
  unsigned char buffer[1024];
  size_t read;
  while (hashed && (read = Platform.fread(buffer, 1, sizeof buffer, file)) > 0) {
    hashed = BCryptHashData(hash, buffer, static_cast<ULONG>(read), 0) >= 0;
  }
  hashed = hashed && BCryptFinishHash(hash, digest, sizeof digest, 0) >= 0;
  if (hash != nullptr) BCryptDestroyHash(hash);
  if (algorithm != nullptr) BCryptCloseAlgorithmProvider(algorithm, 0);
  fclose(file);
  // Without a digest the checksum stays "-1": it matches no recorded checksum.
  if (hashed) DigestText(digest, out, capacity);
}
