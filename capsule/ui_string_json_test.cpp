#include "capsule/ui_string_json.h"

#include <gtest/gtest.h>

#include "host/core/json_parse.h"

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

// Long lists keep their order through the pool in the description round trip and the control list test.
TEST(UIStringJsonTest, TheLaterPairOfALocaleWins) {
  const UIString name = Read(R"({"strDB":[{"localeString":"de","str":"1"},{"localeString":"fr","str":"2"},)"
                             R"({"localeString":"de","str":"3"}]})");
  ASSERT_EQ(name.Size(), 2u);
  EXPECT_EQ(*name.Find(u"de"), u"3");
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
