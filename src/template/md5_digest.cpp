// The MD5 steps: the four rounds of sixteen operations on each 64-byte block, the padding
// with one 1 bit and zeros to 56 bytes modulo 64, and the bit count in little-endian order.
#include "template/md5_digest.h"

#include <string.h>

namespace {

// floor(abs(sin(i + 1)) * 2^32) for i = 0 to 63.
const uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// The left rotations of each round, four per round, used in turn.
const int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

uint32_t RotateLeft(uint32_t value, int bits) {
  return (value << bits) | (value >> (32 - bits));
}

void Transform(uint32_t chain[4], const uint8_t block[64]) {
  uint32_t word[16];
  for (int i = 0; i < 16; ++i) {
    word[i] = static_cast<uint32_t>(block[i * 4]) | static_cast<uint32_t>(block[i * 4 + 1]) << 8 |
              static_cast<uint32_t>(block[i * 4 + 2]) << 16 |
              static_cast<uint32_t>(block[i * 4 + 3]) << 24;
  }
  uint32_t a = chain[0], b = chain[1], c = chain[2], d = chain[3];
  for (int i = 0; i < 64; ++i) {
    const int round = i / 16;
    uint32_t mixed;
    int index;
    if (round == 0) {
      mixed = (b & c) | (~b & d);
      index = i;
    } else if (round == 1) {
      mixed = (d & b) | (~d & c);
      index = (5 * i + 1) % 16;
    } else if (round == 2) {
      mixed = b ^ c ^ d;
      index = (3 * i + 5) % 16;
    } else {
      mixed = c ^ (b | ~d);
      index = (7 * i) % 16;
    }
    const uint32_t next = b + RotateLeft(a + mixed + kSine[i] + word[index], kShift[round][i % 4]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  chain[0] += a;
  chain[1] += b;
  chain[2] += c;
  chain[3] += d;
}

}  // namespace

void Md5Init(Md5State& state) {
  state.Chain[0] = 0x67452301;
  state.Chain[1] = 0xefcdab89;
  state.Chain[2] = 0x98badcfe;
  state.Chain[3] = 0x10325476;
  state.BitCount = 0;
  memset(state.Block, 0, sizeof state.Block);
}

void Md5Update(Md5State& state, const uint8_t* bytes, size_t count) {
  size_t used = static_cast<size_t>((state.BitCount / 8) % sizeof state.Block);
  state.BitCount += static_cast<uint64_t>(count) * 8;
  while (count > 0) {
    const size_t room = sizeof state.Block - used;
    const size_t taken = count < room ? count : room;
    memcpy(state.Block + used, bytes, taken);
    used += taken;
    bytes += taken;
    count -= taken;
    if (used == sizeof state.Block) {
      Transform(state.Chain, state.Block);
      used = 0;
    }
  }
}

void Md5Final(Md5State& state, uint8_t digest[16]) {
  const uint64_t bits = state.BitCount;
  uint8_t length[8];
  for (int i = 0; i < 8; ++i)
    length[i] = static_cast<uint8_t>(bits >> (8 * i));
  const size_t used = static_cast<size_t>((bits / 8) % sizeof state.Block);
  // One 1 bit, then zeros up to 56 bytes of the last block (a whole block more when the
  // bytes left leave no room for the count).
  uint8_t padding[64] = {0x80};
  Md5Update(state, padding, used < 56 ? 56 - used : 120 - used);
  Md5Update(state, length, sizeof length);
  for (int i = 0; i < 16; ++i)
    digest[i] = static_cast<uint8_t>(state.Chain[i / 4] >> (8 * (i % 4)));
  memset(&state, 0, sizeof state);
}
