// MD5 as RFC 1321 defines it, in its init, update and final steps over 64-byte blocks, so
// that the checksum needs no system library.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct Md5State {
  uint32_t Chain[4];  // the four chaining values A, B, C, D
  uint64_t BitCount;  // bits fed so far
  uint8_t Block[64];  // the bytes of the block not yet complete
};

void Md5Init(Md5State& state);
void Md5Update(Md5State& state, const uint8_t* bytes, size_t count);
// Pads, takes the digest and clears the state.
void Md5Final(Md5State& state, uint8_t digest[16]);
