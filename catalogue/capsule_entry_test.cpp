// Entries and filter items: the IDs, comparisons and values worked out from an entry's members.
#include <gtest/gtest.h>

#include "catalogue/capsule_entry.h"
#include "catalogue/graphic_source.h"
#include "catalogue/source_ids.h"

namespace zorvcapsule {
namespace {

// (The IDs sources give, one or two, are read back in the catalogue's and the stock search's pinned
// outputs, tools/testdata.)
TEST(CapsuleEntryTest, NoIdsGiveNothingAndALibraryIdIsTheSecondOfExactlyTwo) {
  CapsuleEntry entry;
  EXPECT_EQ(entry.GetSourceID(), "");
  EXPECT_EQ(entry.GetLibraryID(), "");
  entry.ids = {kLocalSourceID, kLocalDefaultID, "third"};
  EXPECT_EQ(entry.GetSourceID(), kLocalSourceID);
  EXPECT_EQ(entry.GetLibraryID(), "");
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
