#include "capsule/color_space_json.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "capsule/json_node.h"
#include "host/core/binary_text.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

constexpr char kBaseColorProfileKey[] = "baseColorProfile";
constexpr char kColorProfileNameKey[] = "colorProfileName";
constexpr char kColorProfileDataKey[] = "colorProfileData";
constexpr char kBaseProfileTypeKey[] = "baseProfileType";
constexpr char kLinearizedKey[] = "colorSpaceLinearized";

JSONValuePtr ColorProfileToJsonValue(const zorvmediatypes::ColorProfile& profile) {
  JSONObject object;
  if (!profile.Name().empty()) {
    zs::AddToObject(object, kColorProfileNameKey,
                    zs::MakeJSONString(std::u16string_view(profile.Name())));
  }
  if (!profile.Data().empty()) {
    zs::AddToObject(object, kColorProfileDataKey,
                    zs::MakeJSONString(zorvcore::EncodeBinaryDataToUTF8String(profile.Data())));
  }
  return zs::MakeJSONObject(std::move(object));
}

zorvmediatypes::ColorProfile ColorProfileFromJson(const JsonNode& object) {
  object.RequireObject();
  std::u16string name = ReadUTF16Member(object, kColorProfileNameKey).value_or(u"");
  std::vector<uint8_t> data;
  if (const std::optional<JsonNode> text = object.Member(kColorProfileDataKey)) {
    if (!zorvcore::DecodeBinaryDataFromUTF8String(text->String(), data)) text->ThrowBadCast();
  }
  return zorvmediatypes::ColorProfile(std::move(name), std::move(data));
}

}  // namespace

JSONValuePtr ColorSpaceToJsonValue(const zorvmediatypes::ColorSpace& space) {
  JSONObject object;
  if (space.base_color_profile.ToGuid() != zorvmediatypes::ColorProfile().ToGuid()) {
    zs::AddToObject(object, kBaseColorProfileKey,
                    ColorProfileToJsonValue(space.base_color_profile));
  }
  if (space.base_profile_type != 0) {
    zs::AddToObject(object, kBaseProfileTypeKey, zs::MakeJSONUInt64(space.base_profile_type));
  }
  if (space.linearized) zs::AddToObject(object, kLinearizedKey, zs::MakeJSONBool(true));
  return zs::MakeJSONObject(std::move(object));
}

zorvmediatypes::ColorSpace ColorSpaceFromJson(const JsonNode& object) {
  object.RequireObject();
  zorvmediatypes::ColorSpace space;
  if (const std::optional<JsonNode> profile = object.Member(kBaseColorProfileKey)) {
    space.base_color_profile = ColorProfileFromJson(*profile);
  }
  if (auto type = ReadUInt32Member(object, kBaseProfileTypeKey)) space.base_profile_type = *type;
  if (auto linearized = ReadBoolMember(object, kLinearizedKey)) space.linearized = *linearized;
  return space;
}

zorvmediatypes::ColorSpace ColorSpaceFromJsonValue(const JSONValuePtr& value) {
  return ColorSpaceFromJson(JsonNode::TreeRoot(value));
}

}  // namespace zorvcapsule::serialization
