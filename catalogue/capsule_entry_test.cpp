// Entries and filter items: the IDs, comparisons and values worked out from an entry's members.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/capsule_entry.h"
#include "catalogue/graphic_source.h"
#include "catalogue/source_ids.h"

namespace zorvcapsule {
namespace {

TEST(CapsuleEntryTest, SourceIdIsTheFirstIdAndLibraryIdTheSecondOfExactlyTwo) {
  const struct {
    std::vector<std::string> ids;
    std::string source, library;
  } cases[] = {
      {{}, "", ""},
      {{kLocalSourceID, kLocalDefaultID, "third"}, "graphicsource.local", ""},
  };
  for (const auto& c : cases) {
    CapsuleEntry entry;
    entry.ids = c.ids;
    EXPECT_EQ(entry.GetSourceID(), c.source) << c.ids.size();
    EXPECT_EQ(entry.GetLibraryID(), c.library) << c.ids.size();
  }
}

// Equal entries share path and thumbnail path whatever else differs; names order by plain code
// units (sorting whole sets is seen through the manager's default set); the creator application is
// matched case-sensitively; a preview file means playback, but is handed out only as a preview URL.
TEST(CapsuleEntryTest, EqualityOrderCreatorAndPlayback) {
  CapsuleEntry a, b;
  a.path = b.path = u"/t/one.tplx";
  a.name = u"\uFF21";       // above any surrogate-free BMP letter
  b.name = u"\U0001F600";  // a surrogate pair: 0xD83D sorts below 0xFF21
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(b < a);
  EXPECT_FALSE(a < a);
  a.thumbnailPath = u"https://example.invalid/a.png";
  b.thumbnailPath = u"https://example.invalid/b.png";
  EXPECT_FALSE(a == b);

  EXPECT_EQ(a.GetCreatorApp(), CapsuleEntry::kOther);
  a.authorApp = u"QZFX";
  EXPECT_EQ(a.GetCreatorApp(), CapsuleEntry::kOther);
  a.authorApp = u"qzfx";
  EXPECT_EQ(a.GetCreatorApp(), CapsuleEntry::kQuazel);
  a.videoPreviewPath = u"/tmp/preview.mp4";
  EXPECT_TRUE(a.SupportVideoPlayback());
  EXPECT_EQ(a.GetVideoPreviewPath(), u"");
}

// Names differing only in case are equivalent, so sorting filter items stays a strict weak order.
TEST(GraphicFilterItemTest, NamesDifferingOnlyInCaseAreEquivalent) {
  EXPECT_FALSE(GraphicFilterItemLess({u"ABC", "", true}, {u"abc", "", true}));
  EXPECT_FALSE(GraphicFilterItemLess({u"abc", "", true}, {u"ABC", "", true}));
}

}  // namespace
}  // namespace zorvcapsule
