#include "capsule/edit_info_json.h"

#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "capsule/source_info_test_material.h"
#include "host/core/json_parse.h"
#include "host/core/json_value.h"
#include "host/core/unicode.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using hostbridge::SourceTextFontEditInfo;
using hostbridge::TextEditInfo;

// Every flag and field away from its default; the size has no short binary form.
SourceTextFontEditInfo SampleFontEditInfo() {
  SourceTextFontEditInfo info = testing::FullFont();
  info.font_size = 0.1f;
  info.all_caps = true;
  return info;
}

std::u16string U16(const char* utf8) { return zorvcore::UTF8ToUTF16(utf8); }

TEST(FontEditInfoJsonTest, RoundTripKeepsEveryFieldAndText) {
  const SourceTextFontEditInfo info = SampleFontEditInfo();
  const std::u16string text = SourceTextFontEditInfoToJson(info);
  EXPECT_EQ(SourceTextFontEditInfoFromJson(text), info);
  EXPECT_EQ(SourceTextFontEditInfoToJson(SourceTextFontEditInfoFromJson(text)), text);
  // The size is written in the float's own shortest form.
  EXPECT_NE(text.find(u"\"fontSizeEditValue\":0.1}"), std::u16string::npos);
}

TEST(FontEditInfoJsonTest, ReadsOnlyMembersPresent) {
  SourceTextFontEditInfo expected;
  expected.font_name = u"Serif";
  EXPECT_EQ(SourceTextFontEditInfoFromJson(u"{\"fontEditValue\":\"Serif\"}"), expected);

  // Bools are also accepted as the texts "true" and "false"; integers as a size.
  const SourceTextFontEditInfo read = SourceTextFontEditInfoFromJson(
      u"{\"fontFSBoldValue\":\"true\",\"capPropFontEdit\":\"false\",\"fontSizeEditValue\":24}");
  EXPECT_TRUE(read.bold);
  EXPECT_FALSE(read.font_editable);
  EXPECT_EQ(read.font_size, 24.0f);

  // A size beyond the float range is kept as the largest float, a number that writes back.
  EXPECT_EQ(SourceTextFontEditInfoFromJson(u"{\"fontSizeEditValue\":-1e39}").font_size,
            -std::numeric_limits<float>::max());
}

TEST(FontEditInfoJsonTest, WrongTypesAreBadCasts) {
  for (const char* text : {"", "not json", "[]", "\"text\"", "null", "{\"capPropFontEdit\":1}",
                           "{\"capPropFontEdit\":\"yes\"}", "{\"fontEditValue\":null}",
                           "{\"fontEditValue\":7}", "{\"fontSizeEditValue\":\"12\"}",
                           "{\"fontFSSmallCapsValue\":[]}"}) {
    EXPECT_THROW(SourceTextFontEditInfoFromJson(U16(text)), zs::BadCastError) << text;
  }
}

TEST(TextEditInfoJsonTest, RoundTripAndDefaults) {
  TextEditInfo info;
  info.text = u"Line one\nLine \"two\" \U0001F600";
  info.font_edit_info = SampleFontEditInfo();
  const std::u16string text = TextEditInfoToJson(info);
  EXPECT_EQ(TextEditInfoFromJson(text), info);
  EXPECT_EQ(TextEditInfoToJson(TextEditInfoFromJson(text)), text);

  EXPECT_EQ(TextEditInfoFromJson(u"{}"), TextEditInfo());
  const TextEditInfo partial = TextEditInfoFromJson(u"{\"fonteditinfo\":{\"fontFSItalicValue\":true}}");
  EXPECT_EQ(partial.text, u"");
  EXPECT_TRUE(partial.font_edit_info.italic);
}

TEST(TextEditInfoJsonTest, WrongTypesAreBadCasts) {
  for (const char* text : {"[{}]", "{\"textEditValue\":1}", "{\"fonteditinfo\":[]}",
                           "{\"fonteditinfo\":null}", "{\"fonteditinfo\":{\"fontFSBoldValue\":0}}",
                           "{\"textEditValue\":\"x\""}) {
    EXPECT_THROW(TextEditInfoFromJson(U16(text)), zs::BadCastError) << text;
  }
}

}  // namespace
}  // namespace zorvcapsule::serialization
