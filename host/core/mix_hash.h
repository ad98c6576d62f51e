// MixHash: a stable 96-bit hash, built up piece by piece.
//
// A HashValue is four words: the three mixing words h0, h1, h2 and the byte count n. All four are
// the value: two inputs whose mixing words happen to agree still differ when their lengths do, and
// callers that turn a hash into a name use all four words.
//
// Each MixHash call adds `size` to n (modulo 2^32) and mixes the bytes into h0..h2 with the block
// mix of Bob Jenkins' lookup2, carrying all three words from call to call. The bytes are read one
// by one, so the result depends only on them, their order and how they were split into calls: it is
// the same in every run, build and byte order of machine, and it uses no seed. Changing it changes
// names that users have on disk; the tests pin known values.
//
// Not a cryptographic hash: it tells versions of one thing apart, it does not resist an adversary.
//
// Thread safety: MixHash is pure apart from its HashValue argument; distinct HashValues may be
// mixed from any thread.

#ifndef ZORVCAPSULE_HOST_CORE_MIX_HASH_H_
#define ZORVCAPSULE_HOST_CORE_MIX_HASH_H_

#include <cstddef>
#include <cstdint>

namespace zorvcore {

struct HashValue {
  uint32_t h0 = 0;
  uint32_t h1 = 0;
  uint32_t h2 = 0;
  uint32_t n = 0;  // bytes mixed in so far

  friend bool operator==(const HashValue&, const HashValue&) = default;
};

// REQUIRES: bytes points to size readable bytes (it may be null when size is 0).
void MixHash(HashValue& value, const void* bytes, size_t size);

}  // namespace zorvcore

#endif  // ZORVCAPSULE_HOST_CORE_MIX_HASH_H_
