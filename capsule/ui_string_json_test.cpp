#include "capsule/ui_string_json.h"

#include <gtest/gtest.h>

#include "host/core/json_parse.h"
#include "host/core/json_write.h"
#include "host/core/unicode.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;

UIString Read(const char* text) { return UIStringFromJson(zs::JSONParse(text)); }

// The written form is pinned with the controls' common members.
TEST(UIStringJsonTest, MissingMembersReadAsDefaults) {
  EXPECT_TRUE(Read("{}").IsEmpty());
  EXPECT_EQ(Read("{\"strDB\":[{}]}"), UIString(u""));
  const JSONObject object = zs::AsObject(zs::JSONParse("{\"uiName\":{\"strDB\":[]}}"));
  EXPECT_FALSE(ReadUIStringMember(object, "uiSuffix").has_value());
  EXPECT_TRUE(ReadUIStringMember(object, "uiName")->IsEmpty());
}

TEST(UIStringJsonTest, TheLaterPairOfALocaleWinsInLongListsToo) {
  // Long lists are converted in parallel; the pairs must still be applied in array order.
  std::string text = "{\"strDB\":[";
  for (int i = 0; i < 2000; ++i) {
    text += (i ? ",{\"localeString\":\"l" : "{\"localeString\":\"l") + std::to_string(i % 7) + "\",\"str\":\"" +
            std::to_string(i) + "\"}";
  }
  const UIString name = Read((text + "]}").c_str());
  ASSERT_EQ(name.Size(), 7u);
  for (int l = 0; l < 7; ++l) {
    const int last = 1999 - ((1999 - l) % 7);
    EXPECT_EQ(*name.Find(u"l" + std::u16string(1, char16_t(u'0' + l))), zorvcore::UTF8ToUTF16(std::to_string(last)));
  }
}

TEST(UIStringJsonTest, WrongShapesAreBadCasts) {
  // A value of another kind is refused in the description readers' test; here the near misses.
  for (const char* text :
       {"\"text\"", "null", "{\"strDB\":[\"en_US\"]}", "{\"strDB\":[null]}", "{\"strDB\":[{\"localeString\":null}]}"}) {
    EXPECT_THROW(Read(text), zs::BadCastError) << text;
  }
  EXPECT_THROW(UIStringFromJson(nullptr), zs::BadCastError);
}

}  // namespace
}  // namespace zorvcapsule::serialization
