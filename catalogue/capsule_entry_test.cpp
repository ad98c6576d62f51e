// Entries, filter items and cancellation tokens.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/capsule_entry.h"
#include "catalogue/graphic_source.h"
#include "catalogue/source_ids.h"

namespace zorvcapsule {
namespace {

TEST(CapsuleEntryTest, SourceIdIsTheFirstIdAndLibraryIdTheSecondOfExactlyTwo) {
  struct Case {
    std::vector<std::string> ids;
    std::string source, library;
  } cases[] = {
      {{}, "", ""},
      {{kLocalSourceID}, "graphicsource.local", ""},
      {{kLocalSourceID, kLocalDefaultID}, "graphicsource.local", "graphicsource.local.default"},
      {{kLocalSourceID, kLocalDefaultID, "third"}, "graphicsource.local", ""},
  };
  for (const Case& c : cases) {
    CapsuleEntry entry;
    entry.ids = c.ids;
    EXPECT_EQ(entry.GetSourceID(), c.source) << c.ids.size();
    EXPECT_EQ(entry.GetLibraryID(), c.library) << c.ids.size();
  }
}

TEST(CapsuleEntryTest, EqualityLooksAtPathAndThumbnailPathOnly) {
  CapsuleEntry a, b;
  a.path = b.path = u"/t/one.tplx";
  a.name = u"One";
  b.name = u"Another";
  EXPECT_TRUE(a == b);
  a.thumbnailPath = u"https://example.invalid/a.png";
  b.thumbnailPath = u"https://example.invalid/b.png";
  EXPECT_FALSE(a == b);
}

// (Sorting whole sets by name is seen through the manager's default set.)
TEST(CapsuleEntryTest, NameOrderIsPlainCodeUnitOrder) {
  CapsuleEntry high, low;
  high.name = u"\uFF21";  // above any surrogate-free BMP letter
  low.name = u"\U0001F600";  // a surrogate pair: 0xD83D sorts below 0xFF21
  EXPECT_TRUE(low < high);
  EXPECT_FALSE(high < high);
}

TEST(CapsuleEntryTest, CreatorAppIsCaseSensitiveAndAPreviewFileMeansPlayback) {
  CapsuleEntry entry;
  EXPECT_EQ(entry.GetCreatorApp(), CapsuleEntry::kOther);
  entry.authorApp = u"QZFX";
  EXPECT_EQ(entry.GetCreatorApp(), CapsuleEntry::kOther);
  entry.videoPreviewPath = u"/tmp/preview.mp4";
  EXPECT_TRUE(entry.SupportVideoPlayback());
  EXPECT_EQ(entry.GetVideoPreviewPath(), u"");
}

TEST(GraphicFilterItemTest, OrdersWithoutRegardToCase) {
  std::vector<GraphicFilterItem> items{{u"beta", "b", true}, {u"Alpha", "a", true},
                                       {u"alp", "p", true}, {u"\u00C4rger", "u", true}};
  std::sort(items.begin(), items.end(), GraphicFilterItemLess);
  EXPECT_EQ(items[0].name, u"alp");
  EXPECT_EQ(items[1].name, u"Alpha");
  EXPECT_EQ(items[2].name, u"beta");
  EXPECT_EQ(items[3].name, u"\u00C4rger");  // not folded: stays above ASCII letters
  EXPECT_FALSE(GraphicFilterItemLess({u"ABC", "", true}, {u"abc", "", true}));
  EXPECT_FALSE(GraphicFilterItemLess({u"abc", "", true}, {u"ABC", "", true}));
}

}  // namespace
}  // namespace zorvcapsule
