#include "host/core/mix_hash.h"

#include <string_view>

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

}  // namespace
}  // namespace zorvcore
