#include "capsule/source_info_json.h"

#include <string_view>
#include <utility>

#include "capsule/capsule_param_json.h"
#include "capsule/color_space_json.h"
#include "capsule/farside_request_json.h"
#include "capsule/json_node.h"
#include "capsule/list_conversion.h"
#include "capsule/media_values_json.h"
#include "host/core/unicode.h"

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;
using hostbridge::SourceInfo;

namespace {

constexpr char kParentProjectFileKey[] = "parentprojectfile";
constexpr char kNameKey[] = "name";
constexpr char kMediaProducerDescriptionKey[] = "mediaproducerdescription";
constexpr char kIdKey[] = "id";
constexpr char kDurationKey[] = "duration";
constexpr char kPixelAspectRatioKey[] = "pixelaspectratio";
constexpr char kAlphaChannelTypeKey[] = "alphachanneltype";
constexpr char kFrameSizeKey[] = "framesize";
constexpr char kFrameRateKey[] = "framerate";
constexpr char kPixelFormatListKey[] = "pixelformatlist";
constexpr char kFieldTypeKey[] = "fieldtype";
constexpr char kNativeFieldTypeKey[] = "nativefieldtype";
constexpr char kAudioChannelLayoutKey[] = "audiochannellayout";
constexpr char kAudioSampleRateKey[] = "audiosamplerate";
constexpr char kInitialContentStateKey[] = "initialcontentstate";
constexpr char kHasAudioKey[] = "hasaudio";
constexpr char kHasVideoKey[] = "hasvideo";
constexpr char kCurrentTimeKey[] = "currenttime";
constexpr char kWorkInPointKey[] = "workinpoint";
constexpr char kWorkOutPointKey[] = "workoutpoint";
constexpr char kAlphaMatteColorRKey[] = "alphamattecolorr";
constexpr char kAlphaMatteColorGKey[] = "alphamattecolorg";
constexpr char kAlphaMatteColorBKey[] = "alphamattecolorb";
constexpr char kStartTimeKey[] = "starttime";
constexpr char kIsDropFrameKey[] = "isdropframe";
constexpr char kIsXMPWritableKey[] = "isxmpwritable";
constexpr char kInPointKey[] = "inpoint";
constexpr char kOutPointKey[] = "outpoint";
constexpr char kIsMediaKey[] = "ismedia";
constexpr char kSupportsVideoRenderingSessionsKey[] = "supportsvideorenderingsessions";
constexpr char kAppSpecificSourceInfoKey[] = "appspecificsourceinfo";
constexpr char kCapsuleParamsKey[] = "capsuleparams";
constexpr char kFarsideAssetRequestInfoKey[] = "farsideassetrequestinfo";
constexpr char kColorSpaceKey[] = "colorSpace";
constexpr char kHasFrozenUnstretchableRegionsKey[] = "hasFrozenUnstretchableRegions";

// ---- Writing: one member from one field ----------------------------------------------------

class InfoWriter {
 public:
  void Text(const char* key, const std::u16string& text) {
    Add(key, zs::MakeJSONString(std::u16string_view(text)));
  }
  void Bytes(const char* key, const std::string& bytes) { Add(key, zs::MakeJSONString(bytes)); }
  void Bool(const char* key, bool value) { Add(key, zs::MakeJSONBool(value)); }
  void Int32(const char* key, int32_t value) { Add(key, zs::MakeJSONInt64(value)); }
  void Int32OrZero(const char* key, int32_t value) { Int32(key, value); }
  void Number(const char* key, double value) { Add(key, zs::MakeJSONDouble(value)); }
  template <typename Field, typename ToJson, typename FromJson>
  void Value(const char* key, const Field& field, ToJson to_json, FromJson) {
    Add(key, to_json(field));
  }
  template <typename Element, typename ToJson, typename FromJson>
  void List(const char* key, const std::vector<Element>& list, ToJson to_json, FromJson) {
    Add(key, zs::MakeJSONArray(ConvertList<JSONValuePtr>(list, to_json)));
  }

  JSONValuePtr Finish() { return zs::MakeJSONObject(std::move(object_)); }

 private:
  void Add(const char* key, JSONValuePtr value) { zs::AddToObject(object_, key, std::move(value)); }

  JSONObject object_;
};

// ---- Reading: one field from one member ------------------------------------------------------
// A member that is absent leaves the field as a default SourceInfo has it; for every member but
// the field type that default is also the value an absent member stands for.

class InfoReader {
 public:
  explicit InfoReader(const JsonNode& object) : object_(object) {}

  void Text(const char* key, std::u16string& field) {
    if (auto text = ReadUTF16Member(object_, key)) field = std::move(*text);
  }
  void Bytes(const char* key, std::string& field) {
    if (auto bytes = ReadUTF8Member(object_, key)) field = std::move(*bytes);
  }
  void Bool(const char* key, bool& field) {
    if (auto value = ReadBoolMember(object_, key)) field = *value;
  }
  void Int32(const char* key, int32_t& field) {
    if (auto value = ReadInt32Member(object_, key)) field = *value;
  }
  // Unlike the record's own default ("unknown"), a missing code here means 0.
  void Int32OrZero(const char* key, int32_t& field) {
    field = ReadInt32Member(object_, key).value_or(0);
  }
  void Number(const char* key, double& field) {
    if (auto value = ReadNumberMember(object_, key)) field = *value;
  }
  template <typename Field, typename ToJson, typename FromJson>
  void Value(const char* key, Field& field, ToJson, FromJson from_json) {
    if (const std::optional<JsonNode> value = object_.Member(key)) field = from_json(*value);
  }
  template <typename Element, typename ToJson, typename FromJson>
  void List(const char* key, std::vector<Element>& field, ToJson, FromJson from_json) {
    if (const std::optional<JsonNode> array = object_.Member(key)) {
      field = ConvertElements<Element>(*array, from_json);
    }
  }

 private:
  const JsonNode& object_;
};

// ---- The members in order, visited alike by the writer and the reader -------------------------
// Info is const SourceInfo for the writer and SourceInfo for the reader.

template <typename Members, typename Info>
void VisitFormat(Members& m, Info& info) {
  m.Text(kParentProjectFileKey, info.parent_project_file);
  m.Text(kNameKey, info.name);
  m.Text(kMediaProducerDescriptionKey, info.media_producer_description);
  m.Value(kIdKey, info.id, GuidToJsonValue, GuidFromJson);
  m.Value(kDurationKey, info.duration, MediaTimeToJsonValue, MediaTimeFromJson);
  m.Value(kPixelAspectRatioKey, info.pixel_aspect_ratio, PixelAspectRatioToJsonValue,
          PixelAspectRatioFromJson);
  m.Int32(kAlphaChannelTypeKey, info.alpha_channel_type);
  m.Value(kFrameSizeKey, info.frame_rect, FrameRectToJsonValue, FrameRectFromJson);
  m.Value(kFrameRateKey, info.frame_rate, TickRateToJsonValue, TickRateFromJson);
  m.List(kPixelFormatListKey, info.pixel_formats, PixelFormatToJsonValue,
         PixelFormatFromJson);
  m.Int32OrZero(kFieldTypeKey, info.field_type);
  m.Int32(kNativeFieldTypeKey, info.native_field_type);
  m.List(kAudioChannelLayoutKey, info.audio_channel_layout, AudioChannelToJsonValue,
         AudioChannelFromJson);
  m.Value(kAudioSampleRateKey, info.audio_sample_rate, TickRateToJsonValue,
          TickRateFromJson);
  m.Value(kInitialContentStateKey, info.initial_content_state, GuidToJsonValue,
          GuidFromJson);
  m.Bool(kHasAudioKey, info.has_audio);
  m.Bool(kHasVideoKey, info.has_video);
}

template <typename Members, typename Info>
void VisitTimesAndMarkers(Members& m, Info& info) {
  m.Value(kCurrentTimeKey, info.current_time, MediaTimeToJsonValue, MediaTimeFromJson);
  m.Value(kWorkInPointKey, info.work_in_point, MediaTimeToJsonValue, MediaTimeFromJson);
  m.Value(kWorkOutPointKey, info.work_out_point, MediaTimeToJsonValue, MediaTimeFromJson);
  m.Number(kAlphaMatteColorRKey, info.alpha_matte_color_r);
  m.Number(kAlphaMatteColorGKey, info.alpha_matte_color_g);
  m.Number(kAlphaMatteColorBKey, info.alpha_matte_color_b);
  m.Value(kStartTimeKey, info.start_time, MediaTimeToJsonValue, MediaTimeFromJson);
  m.Bool(kIsDropFrameKey, info.is_drop_frame);
  m.Bool(kIsXMPWritableKey, info.is_xmp_writable);
  m.Value(kInPointKey, info.in_point, MediaTimeToJsonValue, MediaTimeFromJson);
  m.Value(kOutPointKey, info.out_point, MediaTimeToJsonValue, MediaTimeFromJson);
  m.Bool(kIsMediaKey, info.is_media);
  m.Bool(kSupportsVideoRenderingSessionsKey, info.supports_video_rendering_sessions);
}

template <typename Members, typename Info>
void VisitAttachments(Members& m, Info& info) {
  m.Bytes(kAppSpecificSourceInfoKey, info.app_specific_source_info);
  m.Value(kCapsuleParamsKey, info.capsule_params, CapsuleParamListToJsonValue,
          CapsuleParamListFromJson);
  m.Value(kFarsideAssetRequestInfoKey, info.farside_asset_request_info,
          FarsideAssetRequestInfoToJsonValue, FarsideAssetRequestInfoFromJson);
  m.Value(kColorSpaceKey, info.color_space, ColorSpaceToJsonValue, ColorSpaceFromJson);
  m.Bool(kHasFrozenUnstretchableRegionsKey, info.has_frozen_unstretchable_regions);
}

template <typename Members, typename Info>
void VisitMembers(Members& m, Info& info) {
  VisitFormat(m, info);
  VisitTimesAndMarkers(m, info);
  VisitAttachments(m, info);
}

}  // namespace

JSONValuePtr SourceInfoToJsonValue(const SourceInfo& info) {
  InfoWriter out;
  VisitMembers(out, info);
  return out.Finish();
}

SourceInfo SourceInfoFromJson(const JsonNode& value) {
  value.RequireObject();
  InfoReader in(value);
  SourceInfo info;
  VisitMembers(in, info);
  return info;
}

SourceInfo SourceInfoFromJsonValue(const JSONValuePtr& value) { return SourceInfoFromJson(JsonNode::TreeRoot(value)); }

JSONValuePtr SourceInfoLocaleMapToJsonValue(const SourceInfoLocaleMap& infos) {
  JSONObject object;
  for (const auto& [locale, info] : infos) {
    zs::AddToObject(object, std::u16string_view(locale), SourceInfoToJsonValue(info));
  }
  return zs::MakeJSONObject(std::move(object));
}

SourceInfoLocaleMap SourceInfoLocaleMapFromJson(const JsonNode& value) {
  SourceInfoLocaleMap infos;
  value.ForEachMember([&infos](std::string_view locale, const JsonNode& info) {
    infos.insert_or_assign(zorvcore::UTF8ToUTF16(locale), SourceInfoFromJson(info));
  });
  return infos;
}

SourceInfoLocaleMap SourceInfoLocaleMapFromJsonValue(const JSONValuePtr& value) {
  return SourceInfoLocaleMapFromJson(JsonNode::TreeRoot(value));
}

}  // namespace zorvcapsule::serialization
