#include "host/core/unicode.h"

#include <gtest/gtest.h>

namespace zorvcore {
namespace {

TEST(UnicodeTest, RoundTripsAcrossAllPlanes) {
  const std::u16string text = u"a\u00e9\u4e2d\U0001F600z";
  const std::string utf8 = UTF16ToUTF8(text);
  EXPECT_EQ(utf8, "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z");
  EXPECT_EQ(UTF8ToUTF16(utf8), text);
}

TEST(UnicodeTest, UnpairedSurrogatesBecomeReplacement) {
  EXPECT_EQ(UTF16ToUTF8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(UTF16ToUTF8(std::u16string{char16_t(0xDC00), u'a'}), "\xEF\xBF\xBD" "a");
  // A high surrogate followed by a non-surrogate keeps the second unit.
  EXPECT_EQ(UTF16ToUTF8(std::u16string{char16_t(0xD83D), u'x'}), "\xEF\xBF\xBDx");
}

TEST(UnicodeTest, IllFormedUTF8BecomesReplacementWithoutOverrun) {
  const std::u16string r(1, char16_t(0xFFFD));
  EXPECT_EQ(UTF8ToUTF16("\x80"), r);
  EXPECT_EQ(UTF8ToUTF16("\xC0\xAF"), r + r);          // overlong
  EXPECT_EQ(UTF8ToUTF16("\xED\xA0\x80"), r + r + r);  // encoded surrogate
  EXPECT_EQ(UTF8ToUTF16("\xF4\x90\x80\x80"), r + r + r + r);  // above U+10FFFF
  // A sequence cut short at the end of the input: the view ends before the continuation bytes.
  const char buffer[] = "\xE4\xB8\xAD";
  EXPECT_EQ(UTF8ToUTF16(std::string_view(buffer, 2)), r);
  EXPECT_EQ(UTF8ToUTF16("\xE4\xB8" "a"), r + u"a");
}

TEST(UnicodeTest, AsciiAndLowerCase) {
  EXPECT_EQ(AsciiToUTF16("Abc"), u"Abc");
  EXPECT_EQ(AsciiToUTF16("\xFF"), std::u16string(1, char16_t(0xFFFD)));
  EXPECT_EQ(LowerCase(u"BLUE Title \u00C9t\u00C9 \u0141\u00D7 \u0416"), u"blue title \u00e9t\u00e9 \u0142\u00D7 \u0436");
}

}  // namespace
}  // namespace zorvcore
