#include "host/core/immutable_string.h"

#include <gtest/gtest.h>

#include <map>
#include <unordered_set>

namespace zorvcore {
namespace {

TEST(ImmutableStringTest, StaticTextIsNotCopiedAndDynamicTextIsOwnedAndShared) {
  static const char kLiteral[] = "X-API-KEY";
  const ImmutableString text = ImmutableString::CreateStatic(kLiteral);
  EXPECT_EQ(text.c_str(), kLiteral);
  EXPECT_EQ(ImmutableString(text).c_str(), kLiteral);
  EXPECT_EQ(text.size(), 9u);

  std::string source = "https://example.test/a";
  const ImmutableString dynamic = ImmutableString::CreateDynamic(source);
  source[0] = 'X';
  EXPECT_EQ(dynamic.view(), "https://example.test/a");
  EXPECT_EQ(ImmutableString(dynamic).c_str(), dynamic.c_str());
  ImmutableString moved = ImmutableString::CreateDynamic("short");  // within small-string size
  const char* before = moved.c_str();
  const ImmutableString target = std::move(moved);
  EXPECT_EQ(target.c_str(), before);
  EXPECT_STREQ(target.c_str(), "short");
  // Empty forms are always usable.
  EXPECT_STREQ(ImmutableString().c_str(), "");
  EXPECT_TRUE(ImmutableString::CreateStatic(nullptr).empty());
  EXPECT_STREQ(ImmutableString::CreateStatic(nullptr).c_str(), "");
  EXPECT_EQ(ImmutableString(), ImmutableString::CreateDynamic(""));
}

TEST(ImmutableStringTest, ComparesBytesWhateverTheStorageAndDecodesUTF8) {
  EXPECT_EQ(ImmutableString::CreateStatic("caf\xC3\xA9 \xF0\x9F\x98\x80").ToString(), u"caf\u00e9 \U0001F600");
  const ImmutableString a = ImmutableString::CreateStatic("Accept");
  const ImmutableString b = ImmutableString::CreateDynamic("Accept");
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, "Accept");
  EXPECT_LT(ImmutableString::CreateStatic("B"), ImmutableString::CreateStatic("a"));
  EXPECT_LT(ImmutableString::CreateStatic("a"), ImmutableString::CreateStatic("ab"));

  std::map<ImmutableString, int> map = {{a, 1}, {ImmutableString::CreateStatic("accept"), 3}};
  map[b] = 2;
  EXPECT_EQ(map.size(), 2u);
  EXPECT_EQ(map.at(ImmutableString::CreateDynamic("Accept")), 2);
  EXPECT_EQ((std::unordered_set<ImmutableString>{a, b}.size()), 1u);
}

// Header maps built on this order find fields in any case in the header collector's test.
TEST(ImmutableStringTest, NoCaseOrderFoldsOnlyAsciiAndPutsAPrefixFirst) {
  const ImmutableStringLessNoCase less;
  EXPECT_TRUE(less("a", "B"));
  EXPECT_FALSE(less("B", "a"));
  EXPECT_TRUE(less("X-API", "x-api-key"));
  EXPECT_FALSE(less("x-api-key", "X-API"));
  // Only ASCII folds: upper- and lower-case e acute stay different keys.
  EXPECT_TRUE(less("\xC3\x89", "\xC3\xA9") || less("\xC3\xA9", "\xC3\x89"));
}

}  // namespace
}  // namespace zorvcore
