// ComputeFileMd5: the file read in binary mode through a 1,024-byte buffer and fed to the
// MD5 steps. A read error ends the reading like the end of the file.
#include "template/file_md5.h"

#include <stdio.h>

#include "run/bounded_text.h"
#include "run/platform_calls.h"
#include "template/md5_digest.h"

void DigestText(const uint8_t digest[16], char* out, size_t capacity) {
  CopyText(out, capacity, "");
  for (int i = 0; i < 16; ++i)
    AppendFormat(out, capacity, "%02x", digest[i]);
}

void ComputeFileMd5(const char* path, char* out, size_t capacity) {
  CopyText(out, capacity, "-1");
  FILE* file = Platform.fopen(path, "rb");
  if (file == nullptr) return;
  Md5State state;
  Md5Init(state);
  unsigned char buffer[1024];
  size_t read;
  while ((read = Platform.fread(buffer, 1, sizeof buffer, file)) > 0) {
    Md5Update(state, buffer, read);
  }
  uint8_t digest[16];
  Md5Final(state, digest);
  fclose(file);
  DigestText(digest, out, capacity);
}
