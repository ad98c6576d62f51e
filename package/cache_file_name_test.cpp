#include "package/cache_file_name.h"

#include <string>

#include <gtest/gtest.h>

namespace zorvcapsule {
namespace {

using zorvcore::DateTime;

constexpr DateTime kMonday = DateTime::FromMicroseconds(1700000000000000);

TEST(CacheFileNameTest, AVersionOfATemplateHasAFixedNameAcrossRunsAndBuilds) {
  // Cached thumbnails of earlier runs are found again only while this name stays the same. The
  // last four bytes of the GUID count the bytes hashed (10 + 19 + 2 * 13 + 8 = 63).
  const std::u16string expected = u"/tmp/TslBrowser/27DC08CE-FA11-FF96-9CAE-14560000003F.png";
  EXPECT_EQ(MakeCacheFileName(kStillThumbCacheTag, "graphicsource.local", u"/t/Title.tplx", kMonday,
                              kStillThumbCacheExtension, u"/tmp/TslBrowser"),
            expected);
  EXPECT_EQ(MakeCacheFileName(kStillThumbCacheTag, "graphicsource.local", u"/t/Title.tplx", kMonday, u".png",
                              u"/tmp/TslBrowser/"),
            expected)
      << "a folder given with its separator gets no second one";
  // Still and video thumbnails of one template must not share a cache file.
  const std::u16string video = MakeCacheFileName(kVideoThumbCacheTag, "graphicsource.local", u"/t/Title.tplx",
                                                 kMonday, kVideoThumbCacheExtension, u"/tmp/TslBrowser");
  EXPECT_NE(expected.substr(0, expected.size() - 4), video.substr(0, video.size() - 4));
}

}  // namespace
}  // namespace zorvcapsule
