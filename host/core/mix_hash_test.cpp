#include "host/core/mix_hash.h"

#include <cstring>
#include <set>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace zorvcore {
namespace {

HashValue HashOf(std::initializer_list<std::string_view> pieces) {
  HashValue value;
  for (std::string_view piece : pieces) MixHash(value, piece.data(), piece.size());
  return value;
}

// Names of cached files on users' disks derive from these words: a change here renames them all.
// A single piece into a fresh value gives lookup2's hash(bytes, length, 0) in h2.
TEST(MixHashTest, KnownInputsGiveKnownValues) {
  const HashValue single = HashOf({"Four score and seven years ago"});
  EXPECT_EQ(single.h0, 0xa234cce7u);
  EXPECT_EQ(single.h1, 0x5603c6afu);
  EXPECT_EQ(single.h2, 0x50f2424bu);
  EXPECT_EQ(single.n, 30u);

  // Several pieces in a row, one of them empty, as a cache name is built.
  const uint8_t time[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  HashValue chained = HashOf({"tmptplxpng", "graphicsource.local", "", "/t/a.tplx"});
  MixHash(chained, time, sizeof time);
  EXPECT_EQ(chained.h0, 0xc5ea636fu);
  EXPECT_EQ(chained.h1, 0xf4e9a532u);
  EXPECT_EQ(chained.h2, 0xb043586du);
  EXPECT_EQ(chained.n, 10u + 19u + 9u + 8u);
}

TEST(MixHashTest, OrderSplitAndLengthAllMatter) {
  EXPECT_NE(HashOf({"ab", "cd"}), HashOf({"cd", "ab"}));
  const HashValue whole = HashOf({"abcd"});
  const HashValue split = HashOf({"ab", "cd"});
  EXPECT_EQ(whole.n, split.n);
  EXPECT_FALSE(whole.h0 == split.h0 && whole.h1 == split.h1 && whole.h2 == split.h2);
  // Trailing zero bytes are still bytes.
  EXPECT_NE(HashOf({std::string_view("a", 1)}), HashOf({std::string_view("a\0", 2)}));
}

TEST(MixHashTest, EveryLengthOfZeroBytesHashesApart) {
  const std::vector<uint8_t> zeros(64, 0);
  std::set<uint32_t> seen;
  for (size_t length = 0; length <= zeros.size(); ++length) {
    HashValue value;
    MixHash(value, zeros.data(), length);
    EXPECT_EQ(value.n, length);
    EXPECT_TRUE(seen.insert(value.h2).second) << "length " << length;
  }
}

TEST(MixHashTest, EveryInputBitReachesTheResult) {
  uint8_t bytes[13] = {};
  HashValue base;
  MixHash(base, bytes, sizeof bytes);
  for (size_t bit = 0; bit < sizeof bytes * 8; ++bit) {
    bytes[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    HashValue flipped;
    MixHash(flipped, bytes, sizeof bytes);
    EXPECT_NE(flipped.h2, base.h2) << "bit " << bit;
    bytes[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
  }
}

}  // namespace
}  // namespace zorvcore
