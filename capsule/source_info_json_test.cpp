#include "capsule/source_info_json.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "capsule/source_info_test_material.h"
#include "host/core/json_parse.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using hostbridge::SourceInfo;

std::string Text(const JSONValuePtr& value) { return zs::GetJSONUTF8String(value, false); }
SourceInfo Read(const std::string& text) { return SourceInfoFromJsonValue(zs::JSONParse(text)); }
std::string Member(const JSONValuePtr& object, const char* key) {
  return Text(zs::GetVariantInObject(object, key));
}

// The nested values' own forms are pinned with their writers; here the members that hold them.
TEST(SourceInfoJsonTest, EveryMemberIsWrittenWithTheNestedValues) {
  const JSONValuePtr empty = SourceInfoToJsonValue(SourceInfo());
  std::set<std::string> keys;
  for (const auto& member : zs::AsObject(empty)) keys.insert(member.first);
  EXPECT_EQ(keys, (std::set<std::string>{
                      "parentprojectfile", "name", "mediaproducerdescription", "id", "duration",
                      "pixelaspectratio", "alphachanneltype", "framesize", "framerate", "pixelformatlist",
                      "fieldtype", "nativefieldtype", "audiochannellayout", "audiosamplerate",
                      "initialcontentstate", "hasaudio", "hasvideo", "currenttime", "workinpoint",
                      "workoutpoint", "alphamattecolorr", "alphamattecolorg", "alphamattecolorb", "starttime",
                      "isdropframe", "isxmpwritable", "inpoint", "outpoint", "ismedia",
                      "supportsvideorenderingsessions", "appspecificsourceinfo", "capsuleparams",
                      "farsideassetrequestinfo", "colorSpace", "hasFrozenUnstretchableRegions"}));
  EXPECT_EQ(Member(empty, "colorSpace"), "{}");
  EXPECT_EQ(Member(empty, "capsuleparams"), "{\"capParams\":[]}");
  EXPECT_EQ(Member(empty, "duration"), "{\"scale\":1,\"value\":0}");
  EXPECT_EQ(Member(empty, "farsideassetrequestinfo"),
            "{\"mAssetInfo\":{\"mAssetIdentifier\":\"\",\"mProductionIdentifier\":\"\","
            "\"mProductionRevision\":\"\"},\"mServerConnectInfo\":{\"mAuthToken\":\"\","
            "\"mEARPort\":\"\",\"mUserName\":\"\"}}");

  const JSONValuePtr full = SourceInfoToJsonValue(testing::MakeFullSourceInfo());
  EXPECT_EQ(Member(full, "colorSpace"),
            "{\"baseColorProfile\":{\"colorProfileData\":\"AAH+/38=\",\"colorProfileName\":"
            "\"Wide Gamut\"},\"baseProfileType\":3,\"colorSpaceLinearized\":true}");
  EXPECT_EQ(Member(full, "farsideassetrequestinfo"),
            "{\"mAssetInfo\":{\"mAssetIdentifier\":\"asset-42\",\"mProductionIdentifier\":"
            "\"prod-7\",\"mProductionRevision\":\"rev-3\"},\"mServerConnectInfo\":{\"mAuthToken\":"
            "\"token-123\",\"mAuthTokenType\":\"Bearer\",\"mEARPort\":\"8443\",\"mHeaders\":{"
            "\"Accept-Language\":\"de-DE\",\"X-Request-Id\":\"abc\"},\"mServerDiscoveryURL\":"
            "\"https://discovery.example.test/v1\",\"mUserName\":\"editor\"}}");
  EXPECT_EQ(Text(SourceInfoLocaleMapToJsonValue({})), "{}");
}

TEST(SourceInfoJsonTest, ColorSpaceWritesOnlyWhatDiffersFromTheDefault) {
  SourceInfo info;
  info.color_space.base_color_profile = zorvmediatypes::ColorProfile(u"Named only", {});
  EXPECT_EQ(Member(SourceInfoToJsonValue(info), "colorSpace"),
            "{\"baseColorProfile\":{\"colorProfileName\":\"Named only\"}}");
  EXPECT_EQ(Read(Text(SourceInfoToJsonValue(info))).color_space, info.color_space);
  info.color_space = {};
  info.color_space.linearized = true;
  EXPECT_EQ(Member(SourceInfoToJsonValue(info), "colorSpace"), "{\"colorSpaceLinearized\":true}");
}

TEST(SourceInfoJsonTest, AbsentMembersKeepTheDefaultsButFieldTypeAndNumbersComeFromEveryKind) {
  SourceInfo expected;
  expected.field_type = 0;
  EXPECT_EQ(Read("{}"), expected);

  const SourceInfo numbers = Read(
      "{\"alphamattecolorr\":1,\"alphamattecolorg\":18446744073709551615,\"alphamattecolorb\":0.5,"
      "\"fieldtype\":4294967298,\"alphachanneltype\":-1}");
  EXPECT_EQ(numbers.alpha_matte_color_r, 1.0);
  EXPECT_EQ(numbers.alpha_matte_color_g, 18446744073709551615.0);
  EXPECT_EQ(numbers.alpha_matte_color_b, 0.5);
  EXPECT_EQ(numbers.field_type, 2);  // cut to 32 bits
  EXPECT_EQ(numbers.alpha_channel_type, -1);
}

// A value of another kind at each member is refused in the description readers' test; here the
// values a lenient reader could take for the right kind.
TEST(SourceInfoJsonTest, WrongTypesAreBadCasts) {
  for (const char* text : {
           "\"info\"", "{\"parentprojectfile\":null}", "{\"duration\":{\"value\":1.5,\"scale\":2}}",
           "{\"pixelaspectratio\":{\"numerator\":1.0}}", "{\"alphachanneltype\":0.0}", "{\"framesize\":\"1920x1080\"}",
           "{\"pixelformatlist\":[1]}", "{\"fieldtype\":true}", "{\"audiochannellayout\":[{\"channellabel\":[]}]}",
           "{\"hasaudio\":\"yes\"}", "{\"ismedia\":null}", "{\"appspecificsourceinfo\":{}}",
           "{\"colorSpace\":{\"baseProfileType\":-1.0}}",
           "{\"colorSpace\":{\"baseColorProfile\":{\"colorProfileData\":\"not base64!\"}}}"}) {
    EXPECT_THROW(Read(text), zs::BadCastError) << text;
  }
  EXPECT_THROW(SourceInfoFromJsonValue(nullptr), zs::BadCastError);
  EXPECT_THROW(SourceInfoLocaleMapFromJsonValue(zs::JSONParse("{\"en_US\":1}")), zs::BadCastError);
}

}  // namespace
}  // namespace zorvcapsule::serialization
