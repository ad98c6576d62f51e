#include "catalogue/package_description.h"

#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "host/core/file_helper_utils.h"
#include "host/core/test_temp_folder.h"
#include "host/core/unicode.h"
#include "host/storage/test_zip_builder.h"

namespace zorvcapsule {
namespace {

// The host's conversions keep well-formed text and replace every ill-formed part, so a text is
// well-formed exactly when the round trip gives it back unchanged. The check must agree with that
// on every input, or a listing would parse other text than the package reader hands out.
bool RoundTripKeeps(const std::string& text) {
  return zorvcore::UTF16ToUTF8(zorvcore::StdToUTF16String(text)) == text;
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
    const int inserts = static_cast<int>(random() % 3);
    for (int i = 0; i < inserts; ++i) text.insert(random() % (text.size() + 1), pieces[random() % std::size(pieces)]);
    ASSERT_EQ(IsWellFormedUTF8(text), RoundTripKeeps(text)) << text;
  }
  EXPECT_TRUE(IsWellFormedUTF8(""));
  EXPECT_TRUE(IsWellFormedUTF8(std::string("a\0b", 3)));
}

TEST(ReadDescriptionUTF8Test, GivesWhatThePackageReaderGivesConverted) {
  const zorvcore::TestTempFolder folder;
  const std::string texts[] = {
      R"({"apiVersion":"1.4","capsuleName":"plain"})",
      "{\"capsuleName\":\"Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xAC\"}",
      "{\"capsuleName\":\"bad \xFF and \xED\xA0\x80 and cut \xE6\x97\"}",
  };
  int n = 0;
  for (const std::string& text : texts) {
    const auto path = folder.path() / ("p" + std::to_string(n++) + ".tplx");
    zorvstorage::TestZipBuilder(path).Add("definition.json", text).Write();
    const CapsuleZip package(zorvcore::FileHelperUtils::StdPathToUTF16(path), "");
    EXPECT_EQ(ReadDescriptionUTF8(package), zorvcore::UTF16ToUTF8(package.GetTPLXDescriptionJSON())) << text;
  }
  EXPECT_NE(ReadDescriptionUTF8(CapsuleZip(zorvcore::FileHelperUtils::StdPathToUTF16(folder.path() / "p2.tplx"), "")),
            texts[2]);

  const auto empty = folder.path() / "empty.tplx";
  zorvstorage::TestZipBuilder(empty).Add("definition.json", "").Add("thumb.png", "x").Write();
  EXPECT_EQ(ReadDescriptionUTF8(CapsuleZip(zorvcore::FileHelperUtils::StdPathToUTF16(empty), "")), "");
  EXPECT_EQ(ReadDescriptionUTF8(CapsuleZip(folder.U16(u"missing.tplx"), "")), "");
}

}  // namespace
}  // namespace zorvcapsule
