#include "capsule/source_info_json.h"

#include <string_view>
#include <utility>

#include "capsule/capsule_param_json.h"
#include "capsule/color_space_json.h"
#include "capsule/farside_request_json.h"
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
  explicit InfoReader(const JSONObject& object) : object_(object) {}

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
    if (const JSONValuePtr* value = FindMember(object_, key)) field = from_json(*value);
  }
  template <typename Element, typename ToJson, typename FromJson>
  void List(const char* key, std::vector<Element>& field, ToJson, FromJson from_json) {
    if (const JSONArray* array = ReadArrayMember(object_, key)) {
      field = ConvertList<Element>(*array, from_json);
    }
  }

 private:
  const JSONObject& object_;
};

// ---- The members in order, visited alike by the writer and the reader -------------------------
// Info is const SourceInfo for the writer and SourceInfo for the reader.

template <typename Members, typename Info>
void VisitFormat(Members& m, Info& info) {
  m.Text(kParentProjectFileKey, info.parent_project_file);
  m.Text(kNameKey, info.name);
  m.Text(kMediaProducerDescriptionKey, info.media_producer_description);
  m.Value(kIdKey, info.id, GuidToJsonValue, GuidFromJsonValue);
  m.Value(kDurationKey, info.duration, MediaTimeToJsonValue, MediaTimeFromJsonValue);
  m.Value(kPixelAspectRatioKey, info.pixel_aspect_ratio, PixelAspectRatioToJsonValue,
          PixelAspectRatioFromJsonValue);
  m.Int32(kAlphaChannelTypeKey, info.alpha_channel_type);
  m.Value(kFrameSizeKey, info.frame_rect, FrameRectToJsonValue, FrameRectFromJsonValue);
  m.Value(kFrameRateKey, info.frame_rate, TickRateToJsonValue, TickRateFromJsonValue);
  m.List(kPixelFormatListKey, info.pixel_formats, PixelFormatToJsonValue,
         PixelFormatFromJsonValue);
  m.Int32OrZero(kFieldTypeKey, info.field_type);
  m.Int32(kNativeFieldTypeKey, info.native_field_type);
  m.List(kAudioChannelLayoutKey, info.audio_channel_layout, AudioChannelToJsonValue,
         AudioChannelFromJsonValue);
  m.Value(kAudioSampleRateKey, info.audio_sample_rate, TickRateToJsonValue,
          TickRateFromJsonValue);
  m.Value(kInitialContentStateKey, info.initial_content_state, GuidToJsonValue,
          GuidFromJsonValue);
  m.Bool(kHasAudioKey, info.has_audio);
  m.Bool(kHasVideoKey, info.has_video);
}

template <typename Members, typename Info>
void VisitTimesAndMarkers(Members& m, Info& info) {
  m.Value(kCurrentTimeKey, info.current_time, MediaTimeToJsonValue, MediaTimeFromJsonValue);
  m.Value(kWorkInPointKey, info.work_in_point, MediaTimeToJsonValue, MediaTimeFromJsonValue);
  m.Value(kWorkOutPointKey, info.work_out_point, MediaTimeToJsonValue, MediaTimeFromJsonValue);
  m.Number(kAlphaMatteColorRKey, info.alpha_matte_color_r);
  m.Number(kAlphaMatteColorGKey, info.alpha_matte_color_g);
  m.Number(kAlphaMatteColorBKey, info.alpha_matte_color_b);
  m.Value(kStartTimeKey, info.start_time, MediaTimeToJsonValue, MediaTimeFromJsonValue);
  m.Bool(kIsDropFrameKey, info.is_drop_frame);
  m.Bool(kIsXMPWritableKey, info.is_xmp_writable);
  m.Value(kInPointKey, info.in_point, MediaTimeToJsonValue, MediaTimeFromJsonValue);
  m.Value(kOutPointKey, info.out_point, MediaTimeToJsonValue, MediaTimeFromJsonValue);
  m.Bool(kIsMediaKey, info.is_media);
  m.Bool(kSupportsVideoRenderingSessionsKey, info.supports_video_rendering_sessions);
}

template <typename Members, typename Info>
void VisitAttachments(Members& m, Info& info) {
  m.Bytes(kAppSpecificSourceInfoKey, info.app_specific_source_info);
  m.Value(kCapsuleParamsKey, info.capsule_params, CapsuleParamListToJsonValue,
          CapsuleParamListFromJsonValue);
  m.Value(kFarsideAssetRequestInfoKey, info.farside_asset_request_info,
          FarsideAssetRequestInfoToJsonValue, FarsideAssetRequestInfoFromJsonValue);
  m.Value(kColorSpaceKey, info.color_space, ColorSpaceToJsonValue, ColorSpaceFromJsonValue);
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

SourceInfo SourceInfoFromJsonValue(const JSONValuePtr& value) {
  InfoReader in(ObjectFromJson(value));
  SourceInfo info;
  VisitMembers(in, info);
  return info;
}

JSONValuePtr SourceInfoLocaleMapToJsonValue(const SourceInfoLocaleMap& infos) {
  JSONObject object;
  for (const auto& [locale, info] : infos) {
    zs::AddToObject(object, std::u16string_view(locale), SourceInfoToJsonValue(info));
  }
  return zs::MakeJSONObject(std::move(object));
}

SourceInfoLocaleMap SourceInfoLocaleMapFromJsonValue(const JSONValuePtr& value) {
  SourceInfoLocaleMap infos;
  for (const auto& [locale, info] : ObjectFromJson(value)) {
    infos.insert_or_assign(zorvcore::UTF8ToUTF16(locale), SourceInfoFromJsonValue(info));
  }
  return infos;
}

}  // namespace zorvcapsule::serialization
