// Text columns for wide scripts, combining marks and ill-formed bytes; plain and accented text is
// measured, cut and padded in the catalogue's pinned table (tools/testdata).
#include "tools/text_columns.h"

#include <gtest/gtest.h>

namespace capsuletool {
namespace {

TEST(TextColumns, WideScriptsTakeTwoCellsAndCombiningMarksNone) {
  EXPECT_EQ(DisplayWidth("\u592a\u5b57\u30bf\u30a4\u30c8\u30eb"), 12u);  // kanji and katakana
  EXPECT_EQ(DisplayWidth("e\u0301"), 1u);
  EXPECT_EQ(DisplayWidth("\xff\xfe"), 2u);  // ill-formed bytes count one each
}

TEST(TextColumns, TruncationNeverSplitsACharacterAndMarksTheCut) {
  // Four cells leave room for one wide character and the ellipsis, not a half of the second one.
  EXPECT_EQ(Truncate("\u592a\u5b57\u30bf", 4), "\u592a\u2026");
  EXPECT_EQ(Truncate("abc", 0), "");
}

TEST(TextColumns, FittingPadsToTheExactWidth) {
  EXPECT_EQ(FitToWidth("\u592a\u5b57", 5), "\u592a\u5b57 ");
  EXPECT_EQ(DisplayWidth(FitToWidth("\u592a\u5b57\u30bf\u30a4", 5)), 5u);
}

}  // namespace
}  // namespace capsuletool
