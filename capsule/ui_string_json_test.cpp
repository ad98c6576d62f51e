#include "capsule/ui_string_json.h"

#include <gtest/gtest.h>

#include "host/core/json_parse.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using zs::BadCastError;

UIString Read(const char* text) { return UIStringFromJson(zs::JSONParse(text)); }

TEST(UIStringJsonTest, WritesOnePairPerLocaleInLocaleOrder) {
  UIString name;
  name.SetString(u"fr_FR", u"Titre");
  name.SetString(u"de_DE", u"Titel");
  EXPECT_EQ(zs::GetJSONUTF8String(UIStringToJson(name), false),
            "{\"strDB\":[{\"localeString\":\"de_DE\",\"str\":\"Titel\"},"
            "{\"localeString\":\"fr_FR\",\"str\":\"Titre\"}]}");
  EXPECT_EQ(zs::GetJSONUTF8String(UIStringToJson(UIString()), false), "{\"strDB\":[]}");
}

TEST(UIStringJsonTest, MissingMembersTakeTheirDefaults) {
  EXPECT_TRUE(Read("{}").IsEmpty());
  const UIString defaults = Read("{\"strDB\":[{}]}");
  EXPECT_EQ(defaults, UIString(u""));
  const UIString no_locale = Read("{\"strDB\":[{\"str\":\"x\"}]}");
  EXPECT_EQ(no_locale, UIString(u"x"));
}

TEST(UIStringJsonTest, TheLaterPairOfALocaleWinsInLongListsToo) {
  // Long lists are converted in parallel; the pairs must still be applied in array order.
  std::string text = "{\"strDB\":[";
  for (int i = 0; i < 2000; ++i) {
    text += (i ? "," : "");
    text += "{\"localeString\":\"l" + std::to_string(i % 7) + "\",\"str\":\"" + std::to_string(i) +
            "\"}";
  }
  text += "]}";
  const UIString name = Read(text.c_str());
  ASSERT_EQ(name.Size(), 7u);
  for (int l = 0; l < 7; ++l) {
    const int last = 1999 - ((1999 - l) % 7);
    EXPECT_EQ(*name.Find(u"l" + std::u16string(1, char16_t(u'0' + l))),
              zorvcore::UTF8ToUTF16(std::to_string(last)));
  }
}

TEST(UIStringJsonTest, WrongShapesAreBadCasts) {
  for (const char* text :
       {"[]", "\"text\"", "null", "{\"strDB\":{}}", "{\"strDB\":[\"en_US\"]}", "{\"strDB\":[null]}",
        "{\"strDB\":[{\"str\":1}]}", "{\"strDB\":[{\"localeString\":null}]}"}) {
    EXPECT_THROW(Read(text), BadCastError) << text;
  }
  EXPECT_THROW(UIStringFromJson(nullptr), BadCastError);
}

TEST(UIStringJsonTest, MemberReadIsOptional) {
  const JSONObject object = zs::AsObject(zs::JSONParse("{\"uiName\":{\"strDB\":[]}}"));
  EXPECT_FALSE(ReadUIStringMember(object, "uiSuffix").has_value());
  EXPECT_TRUE(ReadUIStringMember(object, "uiName")->IsEmpty());
}

}  // namespace
}  // namespace zorvcapsule::serialization
