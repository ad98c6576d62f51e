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

TEST(EditInfoJsonTest, RoundTripsKeepEveryFieldAndText) {
  const std::u16string font = SourceTextFontEditInfoToJson(SampleFontEditInfo());
  EXPECT_EQ(SourceTextFontEditInfoFromJson(font), SampleFontEditInfo());
  // The size is written in the float's own shortest form.
  EXPECT_NE(font.find(u"\"fontSizeEditValue\":0.1}"), std::u16string::npos);

  const TextEditInfo info{u"Line one\nLine \"two\" \U0001F600", SampleFontEditInfo()};
  const std::u16string text = TextEditInfoToJson(info);
  EXPECT_EQ(TextEditInfoFromJson(text), info);
}

TEST(EditInfoJsonTest, ReadsOnlyMembersPresent) {
  EXPECT_EQ(SourceTextFontEditInfoFromJson(u"{\"fontEditValue\":\"Serif\"}"), (SourceTextFontEditInfo{.font_name = u"Serif"}));
  // Bools are also accepted as the texts "true" and "false"; integers as a size.
  EXPECT_EQ(SourceTextFontEditInfoFromJson(
                u"{\"fontFSBoldValue\":\"true\",\"capPropFontEdit\":\"false\",\"fontSizeEditValue\":24}"),
            (SourceTextFontEditInfo{.font_name = u"", .font_size = 24.0f, .bold = true}));
  // A size beyond the float range is kept as the largest float, a number that writes back.
  EXPECT_EQ(SourceTextFontEditInfoFromJson(u"{\"fontSizeEditValue\":-1e39}").font_size,
            -std::numeric_limits<float>::max());

  EXPECT_EQ(TextEditInfoFromJson(u"{}"), TextEditInfo());
  const TextEditInfo partial = TextEditInfoFromJson(u"{\"fonteditinfo\":{\"fontFSItalicValue\":true}}");
  EXPECT_EQ(partial, (TextEditInfo{u"", {.font_name = u"", .italic = true}}));
}

TEST(EditInfoJsonTest, WrongTypesAreBadCasts) {
  // Font records of another kind are refused in the description readers' test; here the near misses.
  for (const char* text : {"", "not json", "\"text\"", "null", "{\"capPropFontEdit\":\"yes\"}",
                           "{\"fontEditValue\":null}", "{\"fontFSSmallCapsValue\":[]}"}) {
    EXPECT_THROW(SourceTextFontEditInfoFromJson(zorvcore::UTF8ToUTF16(text)), zs::BadCastError) << text;
  }
  for (const char* text : {"[{}]", "{\"textEditValue\":1}", "{\"fonteditinfo\":[]}",
                           "{\"fonteditinfo\":null}", "{\"fonteditinfo\":{\"fontFSBoldValue\":0}}",
                           "{\"textEditValue\":\"x\""}) {
    EXPECT_THROW(TextEditInfoFromJson(zorvcore::UTF8ToUTF16(text)), zs::BadCastError) << text;
  }
}

}  // namespace
}  // namespace zorvcapsule::serialization
