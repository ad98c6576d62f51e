#include "host/core/mix_hash.h"

#include <string_view>
#include <tuple>

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
  EXPECT_EQ(std::tie(single.h0, single.h1, single.h2, single.n),
            std::make_tuple(0xa234cce7u, 0x5603c6afu, 0x50f2424bu, 30u));
  // Several pieces in a row, one of them empty, as a cache name is built.
  const uint8_t time[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  HashValue chained = HashOf({"tmptplxpng", "graphicsource.local", "", "/t/a.tplx"});
  MixHash(chained, time, sizeof time);
  EXPECT_EQ(std::tie(chained.h0, chained.h1, chained.h2, chained.n),
            std::make_tuple(0xc5ea636fu, 0xf4e9a532u, 0xb043586du, 10u + 19u + 9u + 8u));
}

}  // namespace
}  // namespace zorvcore
