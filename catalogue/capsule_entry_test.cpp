// Entries, filter items and cancellation tokens.
#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/capsule_entry.h"
#include "catalogue/graphic_source.h"
#include "catalogue/source_ids.h"

namespace zorvcapsule {
namespace {

TEST(CapsuleEntryTest, LibraryIdOnlyWithExactlyTwoIds) {
  CapsuleEntry entry;
  EXPECT_EQ(entry.GetSourceID(), "");
  EXPECT_EQ(entry.GetLibraryID(), "");
  entry.ids = {kLocalSourceID};
  EXPECT_EQ(entry.GetSourceID(), "graphicsource.local");
  EXPECT_EQ(entry.GetLibraryID(), "");
  entry.ids = {kLocalSourceID, kLocalDefaultID};
  EXPECT_EQ(entry.GetLibraryID(), "graphicsource.local.default");
  entry.ids.push_back("third");
  EXPECT_EQ(entry.GetLibraryID(), "");
  EXPECT_EQ(entry.GetSourceID(), "graphicsource.local");
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

TEST(CapsuleEntryTest, NameOrderIsPlainCodeUnitOrder) {
  std::vector<CapsuleEntryPtr> entries;
  for (const char16_t* name : {u"b", u"B", u"a", u"ab"}) {
    entries.push_back(std::make_shared<CapsuleEntry>());
    entries.back()->name = name;
  }
  std::sort(entries.begin(), entries.end(), CapsuleEntryNameLess);
  std::vector<std::u16string> names;
  for (const auto& e : entries) names.push_back(e->name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"B", u"a", u"ab", u"b"}));
  CapsuleEntry high, low;
  high.name = u"\uFF21";  // above any surrogate-free BMP letter
  low.name = u"\U0001F600";  // a surrogate pair: 0xD83D sorts below 0xFF21
  EXPECT_TRUE(low < high);
  EXPECT_FALSE(high < high);
}

TEST(CapsuleEntryTest, CreatorAppAndVideoPlayback) {
  CapsuleEntry entry;
  EXPECT_EQ(entry.GetCreatorApp(), CapsuleEntry::kOther);
  entry.authorApp = u"qzfx";
  EXPECT_EQ(entry.GetCreatorApp(), CapsuleEntry::kQuazel);
  entry.authorApp = u"QZFX";
  EXPECT_EQ(entry.GetCreatorApp(), CapsuleEntry::kOther);
  entry.videoPreviewPath = u"/tmp/preview.mp4";
  EXPECT_TRUE(entry.SupportVideoPlayback());
  EXPECT_EQ(entry.GetVideoPreviewPath(), u"");
  EXPECT_TRUE(entry.modifiedTime.is_not_a_date_time());
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
