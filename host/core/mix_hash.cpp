#include "host/core/mix_hash.h"

namespace zorvcore {
namespace {

constexpr uint32_t kGoldenRatio = 0x9e3779b9;
constexpr size_t kBlock = 12;

// lookup2's mix: every bit of a, b and c affects every bit of the three results.
void Mix(uint32_t& a, uint32_t& b, uint32_t& c) {
  a -= b; a -= c; a ^= (c >> 13);
  b -= c; b -= a; b ^= (a << 8);
  c -= a; c -= b; c ^= (b >> 13);
  a -= b; a -= c; a ^= (c >> 12);
  b -= c; b -= a; b ^= (a << 16);
  c -= a; c -= b; c ^= (b >> 5);
  a -= b; a -= c; a ^= (c >> 3);
  b -= c; b -= a; b ^= (a << 10);
  c -= a; c -= b; c ^= (b >> 15);
}

// Bytes [0, count) of k as a little-endian word, count <= 4.
uint32_t Word(const uint8_t* k, size_t count) {
  uint32_t word = 0;
  for (size_t i = 0; i < count; ++i) word |= static_cast<uint32_t>(k[i]) << (8 * i);
  return word;
}

}  // namespace

void MixHash(HashValue& value, const void* bytes, size_t size) {
  value.n += static_cast<uint32_t>(size);
  const auto* k = static_cast<const uint8_t*>(bytes);
  // lookup2 with the previous words as its starting state: a fresh HashValue gives exactly
  // lookup2's hash(bytes, size, 0) in h2.
  uint32_t a = value.h0 + kGoldenRatio;
  uint32_t b = value.h1 + kGoldenRatio;
  uint32_t c = value.h2;
  size_t left = size;
  for (; left >= kBlock; left -= kBlock, k += kBlock) {
    a += Word(k, 4);
    b += Word(k + 4, 4);
    c += Word(k + 8, 4);
    Mix(a, b, c);
  }
  // The last partial block; c's low byte is taken by the length, so its bytes move up by one.
  c += static_cast<uint32_t>(size);
  if (left > 8) c += Word(k + 8, left - 8) << 8;
  if (left > 4) b += Word(k + 4, left - 4 < 4 ? left - 4 : 4);
  a += Word(k, left < 4 ? left : 4);
  Mix(a, b, c);
  value.h0 = a;
  value.h1 = b;
  value.h2 = c;
}

}  // namespace zorvcore
