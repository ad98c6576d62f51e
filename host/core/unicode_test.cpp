#include "host/core/unicode.h"

#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace zorvcore {
namespace {

TEST(UnicodeTest, ConvertsAcrossAllPlanesReplacesIllFormedPartsAndLowerCases) {
  const std::u16string r(1, char16_t(0xFFFD));
  const std::u16string text = u"a\u00e9\u4e2d\U0001F600z";
  EXPECT_EQ(UTF16ToUTF8(text), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z");
  EXPECT_EQ(UTF8ToUTF16(UTF16ToUTF8(text)), text);
  // Unpaired surrogates; a high one followed by a non-surrogate keeps the second unit.
  EXPECT_EQ(UTF16ToUTF8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(UTF16ToUTF8(std::u16string{char16_t(0xDC00), u'a'}), "\xEF\xBF\xBD" "a");
  EXPECT_EQ(UTF16ToUTF8(std::u16string{char16_t(0xD83D), u'x'}), "\xEF\xBF\xBDx");
  // Overlong, an encoded surrogate, above U+10FFFF, cut short (no read past the view).
  const std::pair<std::string_view, std::u16string> illFormed[] = {
      {"\x80", r}, {"\xC0\xAF", r + r}, {"\xED\xA0\x80", r + r + r}, {"\xF4\x90\x80\x80", r + r + r + r},
      {std::string_view("\xE4\xB8\xAD", 2), r}, {"\xE4\xB8" "a", r + u"a"}};
  for (const auto& [utf8, utf16] : illFormed) EXPECT_EQ(UTF8ToUTF16(utf8), utf16) << utf8;

  EXPECT_EQ(AsciiToUTF16("Abc"), u"Abc");
  EXPECT_EQ(AsciiToUTF16("\xFF"), std::u16string(1, char16_t(0xFFFD)));
  EXPECT_EQ(LowerCase(u"BLUE Title \u00C9t\u00C9 \u0141\u00D7 \u0416"),
            u"blue title \u00e9t\u00e9 \u0142\u00D7 \u0436");
}

// The host's conversions keep well-formed text and replace every ill-formed part, so a text is
// well-formed exactly when the round trip gives it back unchanged. The check must agree with that
// on every input, or a listing would parse other text than the package reader hands out.
bool RoundTripKeeps(const std::string& text) {
  return UTF16ToUTF8(UTF8ToUTF16(text)) == text;
}

TEST(IsWellFormedUTF8Test, AgreesWithTheHostConversionsOnShortTexts) {
  std::string text;
  for (int a = 0; a < 256; ++a) {
    text.assign(1, static_cast<char>(a));
    ASSERT_EQ(IsWellFormedUTF8(text), RoundTripKeeps(text)) << a;
    for (int b = 0; b < 256; ++b) {
      text.assign({static_cast<char>(a), static_cast<char>(b)});
      ASSERT_EQ(IsWellFormedUTF8(text), RoundTripKeeps(text)) << a << " " << b;
    }
  }
  // Three and four bytes: every lead byte with the second bytes where the ranges change.
  const int edges[] = {0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
  for (int lead = 0xC0; lead < 256; ++lead) {
    for (int second : edges) {
      for (int third : edges) {
        text.assign({static_cast<char>(lead), static_cast<char>(second), static_cast<char>(third)});
        ASSERT_EQ(IsWellFormedUTF8(text), RoundTripKeeps(text)) << lead << " " << second << " " << third;
        for (int fourth : edges) {
          const std::string four = text + static_cast<char>(fourth);
          ASSERT_EQ(IsWellFormedUTF8(four), RoundTripKeeps(four)) << lead << " " << second;
        }
      }
    }
  }
}

TEST(IsWellFormedUTF8Test, AgreesWithTheHostConversionsOnMostlyAsciiTexts) {
  // Long ASCII runs with a few high bytes at every offset, as descriptions with some foreign names
  // are: exercises the eight-byte steps and their boundaries.
  std::mt19937 random(5);
  const char* pieces[] = {"\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x8E\xAC", "\xED\xA0\x80", "\xC0\xAF",
                          "\xF4\x90\x80\x80", "\x80", "\xE6\x97", "\xFF"};
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 40, 'a');
    for (int i = random() % 3; i > 0; --i) {
      text.insert(random() % (text.size() + 1), pieces[random() % std::size(pieces)]);
    }
    ASSERT_EQ(IsWellFormedUTF8(text), RoundTripKeeps(text)) << text;
  }
  EXPECT_TRUE(IsWellFormedUTF8(""));
  EXPECT_TRUE(IsWellFormedUTF8(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace zorvcore
