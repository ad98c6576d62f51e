#include "capsule/capsule_param_json.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "capsule/source_info_test_material.h"
#include "host/core/json_parse.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using hostbridge::CapsuleParam;
using hostbridge::CapsuleParamKey;
using hostbridge::CapsuleParamList;
using hostbridge::CapsuleParamType;

std::string Text(const JSONValuePtr& value) { return zs::GetJSONUTF8String(value, false); }
CapsuleParam ReadParam(const char* text) { return CapsuleParamFromJsonValue(zs::JSONParse(text)); }

TEST(CapsuleParamJsonTest, MembersByType) {
  const CapsuleParamList list = testing::MakeParamsOfAllTypes();
  EXPECT_EQ(Text(CapsuleParamToJsonValue(list.params[1])),
            "{\"capPropAnimatable\":true,\"capPropDecimals\":2,\"capPropDefault\":42.25,"
            "\"capPropMatchName\":\"match.Opacity\",\"capPropMax\":250.0,\"capPropMin\":-10.0,"
            "\"capPropType\":1,\"capPropUIName\":\"Opacity\"}");
  EXPECT_EQ(Text(CapsuleParamToJsonValue(list.params[8])),
            "{\"capPropAnimatable\":false,\"capPropDefault\":[\"match.Opacity\",\"match.Fill\"],"
            "\"capPropGroupExpanded\":false,\"capPropMatchName\":\"match.Lower third\","
            "\"capPropType\":8,\"capPropUIName\":\"Lower third\"}");
  const JSONValuePtr sheet = CapsuleParamToJsonValue(list.params[9]);
  for (const char* key : {"capPropSpreadsheetMinRows", "capPropSpreadsheetMaxRows", "capPropSpreadsheetColumnInfo"}) {
    EXPECT_TRUE(zs::ObjectHasProperty(sheet, key)) << key;
  }
}

TEST(CapsuleParamJsonTest, TextParameterTakesOlderFlatFontFlags) {
  using Font = hostbridge::SourceTextFontEditInfo;
  // Only the three edit flags are read from the flat form.
  EXPECT_EQ(ReadParam("{\"capPropType\":0,\"capPropFontEdit\":true,\"capPropFontSizeEdit\":\"true\","
                      "\"capPropFontFauxStyleEdit\":false,\"fontEditValue\":\"Ignored\",\"fontFSBoldValue\":true}")
                .Get<Font>(CapsuleParamKey::kFontEditInfo),
            (Font{.font_editable = true, .font_name = u"", .font_size_editable = true}));
  // The nested object of newer descriptions wins where both say something.
  EXPECT_EQ(ReadParam("{\"capPropType\":0,\"capPropFontEdit\":true,\"capPropFontSizeEdit\":true,"
                      "\"capPropFontEditInfo\":{\"capPropFontEdit\":false,\"fontEditValue\":\"Mono\"}}")
                .Get<Font>(CapsuleParamKey::kFontEditInfo),
            (Font{.font_editable = false, .font_name = u"Mono", .font_size_editable = true}));
}

TEST(CapsuleParamJsonTest, SparseObjectsReadAsWritableParametersButAWrittenOneNeedsItsProperties) {
  for (uint32_t type = 0; type <= 12; ++type) {
    const CapsuleParam param = ReadParam(("{\"capPropType\":" + std::to_string(type) + "}").c_str());
    EXPECT_EQ(param.Get<uint32_t>(CapsuleParamKey::kType), type);
    EXPECT_EQ(param.Get<std::u16string>(CapsuleParamKey::kMatchName), u"");
    EXPECT_NO_THROW(CapsuleParamToJsonValue(param)) << type;
  }
  EXPECT_TRUE(ReadParam("{\"capPropType\":8}").Get<bool>(CapsuleParamKey::kGroupExpanded));
  EXPECT_EQ(ReadParam("{}").Get<uint32_t>(CapsuleParamKey::kType), 0u);
  // An unknown type keeps only the common members.
  EXPECT_EQ(Text(CapsuleParamToJsonValue(ReadParam("{\"capPropType\":12,\"capPropDefault\":1}"))),
            "{\"capPropAnimatable\":false,\"capPropMatchName\":\"\",\"capPropType\":12,\"capPropUIName\":\"\"}");

  try {
    CapsuleParamToJsonValue(testing::MakeParam(CapsuleParamType::kSlider, u"Size", {{CapsuleParamKey::kDefault, 1.0}}));
    ADD_FAILURE() << "a slider without its range was written";
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "invalid map<K, T> key");
  }
  EXPECT_THROW(CapsuleParamToJsonValue(CapsuleParam()), std::out_of_range);
}

// A value of another kind at each member is refused in the description readers' test; here the
// values a lenient reader could take for the right kind.
TEST(CapsuleParamJsonTest, WrongTypesAreBadCasts) {
  for (const char* text :
       {"{\"capPropType\":1.0}", "{\"capPropType\":1,\"capPropDecimals\":2.5}",
        "{\"capPropType\":3,\"capPropDefault\":\"red\"}", "{\"capPropType\":0,\"capPropFontEditInfo\":true}",
        "{\"capPropType\":0,\"capPropFontEdit\":1}", "{\"capPropUIName\":[]}",
        "{\"capPropType\":2,\"capPropDefault\":\"on\"}"}) {
    EXPECT_THROW(ReadParam(text), zs::BadCastError) << text;
  }
  EXPECT_THROW(CapsuleParamListFromJsonValue(zs::JSONParse("{\"capParams\":[1]}")), zs::BadCastError);
  EXPECT_TRUE(CapsuleParamListFromJsonValue(zs::JSONParse("{}")).params.empty());
}

}  // namespace
}  // namespace zorvcapsule::serialization
