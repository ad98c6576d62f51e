#include "package/cache_file_name.h"

#include <string>

#include <gtest/gtest.h>

#include "host/core/guid.h"
#include "host/core/mix_hash.h"

namespace zorvcapsule {
namespace {

using zorvcore::DateTime;

constexpr DateTime kMonday = DateTime::FromMicroseconds(1700000000000000);
constexpr DateTime kTuesday = DateTime::FromMicroseconds(1700086400000000);

std::u16string StillName(std::string_view source, std::u16string_view path, DateTime modified) {
  return MakeCacheFileName(kStillThumbCacheTag, source, path, modified, kStillThumbCacheExtension,
                           u"/tmp/TslBrowser");
}

TEST(CacheFileNameTest, OneVersionOfOneTemplateKeepsOneName) {
  const std::u16string first = StillName("graphicsource.local", u"/t/Title.tplx", kMonday);
  EXPECT_EQ(first, StillName("graphicsource.local", u"/t/Title.tplx", kMonday));
  ASSERT_EQ(first.size(), std::u16string(u"/tmp/TslBrowser/").size() + 36 + 4);
  EXPECT_EQ(first.substr(0, 16), u"/tmp/TslBrowser/");
  EXPECT_EQ(first.substr(first.size() - 4), u".png");
  EXPECT_TRUE(zorvcore::Guid::FromString(first.substr(16, 36)).has_value());
}

TEST(CacheFileNameTest, EveryIdentifyingPartChangesTheName) {
  const std::u16string base = StillName("graphicsource.local", u"/t/Title.tplx", kMonday);
  EXPECT_NE(base, StillName("graphicsource.local", u"/t/Title.tplx", kTuesday)) << "touched";
  EXPECT_NE(base, StillName("graphicsource.QvLibraries", u"/t/Title.tplx", kMonday)) << "source";
  EXPECT_NE(base, StillName("graphicsource.local", u"/t/title.tplx", kMonday)) << "path";
  const std::u16string video =
      MakeCacheFileName(kVideoThumbCacheTag, "graphicsource.local", u"/t/Title.tplx", kMonday,
                        kVideoThumbCacheExtension, u"/tmp/TslBrowser");
  EXPECT_NE(base.substr(0, base.size() - 4), video.substr(0, video.size() - 4)) << "tag";
  // Pieces are mixed one after another, so moving bytes from one piece to the next changes the name.
  EXPECT_NE(StillName("ab", u"/t", kMonday),
            MakeCacheFileName("tmptplxpnga", "b", u"/t", kMonday, u".png", u"/tmp/TslBrowser"));
}

TEST(CacheFileNameTest, TheGuidIsLaidOutFromTheHashOfThePiecesInOrder) {
  const std::string source = "graphicsource.local";
  const std::u16string path = u"/t/Title.tplx";
  zorvcore::HashValue hash;
  zorvcore::MixHash(hash, "tmptplxpng", 10);
  zorvcore::MixHash(hash, source.data(), source.size());
  zorvcore::MixHash(hash, path.data(), 2 * path.size());
  zorvcore::MixHash(hash, &kMonday, 8);
  ASSERT_EQ(hash.n, 10 + source.size() + 2 * path.size() + 8);
  const zorvcore::Guid expected(
      hash.h0, static_cast<uint16_t>(hash.h1 >> 16), static_cast<uint16_t>(hash.h1),
      {static_cast<uint8_t>(hash.h2 >> 24), static_cast<uint8_t>(hash.h2 >> 16),
       static_cast<uint8_t>(hash.h2 >> 8), static_cast<uint8_t>(hash.h2),
       static_cast<uint8_t>(hash.n >> 24), static_cast<uint8_t>(hash.n >> 16),
       static_cast<uint8_t>(hash.n >> 8), static_cast<uint8_t>(hash.n)});
  EXPECT_EQ(StillName(source, path, kMonday), u"/tmp/TslBrowser/" + expected.AsString() + u".png");
  EXPECT_EQ(MakeCacheFileName(kStillThumbCacheTag, source, path, kMonday, u".png", u"/tmp/TslBrowser/"),
            u"/tmp/TslBrowser/" + expected.AsString() + u".png")
      << "a folder given with its separator gets no second one";
}

}  // namespace
}  // namespace zorvcapsule
