// Test material: source info records with every member away from its default, for the round-trip
// tests and benchmarks of the description readers and writers; never part of the library.
//
// Thread safety: the functions build new values; call them from any thread.

#ifndef ZORVCAPSULE_CAPSULE_SOURCE_INFO_TEST_MATERIAL_H_
#define ZORVCAPSULE_CAPSULE_SOURCE_INFO_TEST_MATERIAL_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "host/core/guid.h"
#include "host/hostbridge/capsule_param_list.h"
#include "host/hostbridge/source_info.h"

namespace zorvcapsule::testing {

// A font record with every flag editable and a few styles set.
inline hostbridge::SourceTextFontEditInfo FullFont() {
  return {.font_editable = true, .font_name = u"Sans Condensed \u00e9", .font_size_editable = true,
          .font_size = 36.5f, .faux_styles_editable = true, .bold = true, .small_caps = true};
}

// A parameter with its match name ("match." + name), name, type, animatable only for sliders, and
// the further properties given.
inline hostbridge::CapsuleParam MakeParam(
    hostbridge::CapsuleParamType type, std::u16string name,
    std::initializer_list<std::pair<hostbridge::CapsuleParamKey, hostbridge::CapsuleParamValue>> more = {}) {
  using hostbridge::CapsuleParamKey;
  hostbridge::CapsuleParam param;
  param.Set(CapsuleParamKey::kMatchName, u"match." + name);
  param.Set(CapsuleParamKey::kUIName, std::move(name));
  param.Set(CapsuleParamKey::kAnimatable, type == hostbridge::CapsuleParamType::kSlider);
  param.Set(CapsuleParamKey::kType, static_cast<uint32_t>(type));
  for (const auto& [key, value] : more) param.Set(key, value);
  return param;
}

// One parameter of each of the ten types, in type order, each property away from its default.
inline hostbridge::CapsuleParamList MakeParamsOfAllTypes() {
  using K = hostbridge::CapsuleParamKey;
  using T = hostbridge::CapsuleParamType;
  const hostbridge::SpreadsheetValue cells{2, {hostbridge::SpreadsheetColumnValue::Texts({u"Home", u"Away"}),
                                               hostbridge::SpreadsheetColumnValue::Numbers({3.0, 1.0})}};
  const std::vector<hostbridge::SpreadsheetColumnInfo> columns = {
      {hostbridge::kSpreadsheetDataTypeText, u"Team", 0.0, 100.0},
      {hostbridge::kSpreadsheetDataTypeNumber, u"Goals", 0.0, 99.0}};
  return {{
      MakeParam(T::kText, u"Headline \u00e9",
                {{K::kDefault, std::u16string(u"Breaking \"news\"\n")}, {K::kFontEditInfo, FullFont()}}),
      MakeParam(T::kSlider, u"Opacity",
                {{K::kDefault, 42.25}, {K::kMin, -10.0}, {K::kMax, 250.0}, {K::kDecimals, int32_t{2}}}),
      MakeParam(T::kCheckbox, u"Shadow", {{K::kDefault, true}}),
      MakeParam(T::kColor, u"Fill", {{K::kDefault, std::vector<double>{1.0, 0.5, 0.25, 0.75}}}),
      MakeParam(T::kString, u"Note", {{K::kDefault, std::u16string(u"\u4e2d\u6587")}}),
      MakeParam(T::kAngle, u"Rotation", {{K::kDefault, -45.5}}),
      MakeParam(T::kPoint, u"Anchor", {{K::kDefault, std::vector<double>{960.0, 540.5}}}),
      MakeParam(T::kScale, u"Scale",
                {{K::kDefault, std::vector<double>{100.0, 80.0, 60.0}}, {K::kLinked, true},
                 {K::kDimensions, int32_t{3}}}),
      MakeParam(T::kGroup, u"Lower third",
                {{K::kDefault, std::vector<std::u16string>{u"match.Opacity", u"match.Fill"}},
                 {K::kGroupExpanded, false}}),
      MakeParam(T::kSpreadsheet, u"Scores",
                {{K::kDefault, cells}, {K::kSpreadsheetMinRows, uint32_t{1}},
                 {K::kSpreadsheetMaxRows, uint32_t{8}}, {K::kSpreadsheetColumnInfo, columns}}),
  }};
}

// A source info with every member away from its default. `variant` changes the name, the id and
// the duration, so that the records of two locales differ.
inline hostbridge::SourceInfo MakeFullSourceInfo(int variant = 0) {
  using hostbridge::MediaTime;
  using zorvmediatypes::TickTime;
  return {
      .parent_project_file = u"/Projects/Lower Third \u00fc.qzgraphic",
      .name = variant == 0 ? u"Lower Third" : u"Lower Third B",
      .media_producer_description = u"Compositing document",
      .id = zorvcore::Guid(0x0E1A2B3Cu + variant, 0x4D5E, 0x6F70, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0xF8}),
      .duration = MediaTime(10010 + variant, 1000), .pixel_aspect_ratio = {10, 11}, .alpha_channel_type = 2,
      .frame_rect = {{-4, 8}, {1920, 1080}}, .frame_rate = TickTime::FromTicks(29429400),
      .pixel_formats = {{0x42475241u, 1u}, {0x76343130u, 0x80000000u}}, .field_type = 1, .native_field_type = 2,
      .audio_channel_layout = {{1}, {2}, {-3}}, .audio_sample_rate = TickTime::FromTicks(14700),
      .initial_content_state = zorvcore::Guid(0xDEADBEEFu, 0x0102, 0x0304, {1, 2, 3, 4, 5, 6, 7, 8}),
      .has_audio = true, .has_video = true, .current_time = MediaTime(1001, 30000),
      .work_in_point = MediaTime(1, 2), .work_out_point = MediaTime(19, 2),
      .alpha_matte_color_r = 0.25, .alpha_matte_color_g = 0.5, .alpha_matte_color_b = 1.0,
      .start_time = MediaTime(-3600, 1), .is_drop_frame = true, .is_xmp_writable = true,
      .in_point = MediaTime(1, 25), .out_point = MediaTime(249, 25), .is_media = true,
      .supports_video_rendering_sessions = true,
      .app_specific_source_info = "{\"opaque\":[1,2]}\x01 \xc3\xa9 \\",
      .capsule_params = MakeParamsOfAllTypes(),
      .farside_asset_request_info = {.server_connect_info = {"https://discovery.example.test/v1", "8443", "editor",
                                                             "token-123", "Bearer",
                                                             {{"X-Request-Id", "abc"}, {"Accept-Language", "de-DE"}}},
                                     .asset_info = {"prod-7", "rev-3", "asset-42"}},
      .color_space = {.base_color_profile = zorvmediatypes::ColorProfile(u"Wide Gamut", {0x00, 0x01, 0xFE, 0xFF, 0x7F}),
                      .base_profile_type = 3, .linearized = true},
      .has_frozen_unstretchable_regions = true,
  };
}

}  // namespace zorvcapsule::testing

#endif  // ZORVCAPSULE_CAPSULE_SOURCE_INFO_TEST_MATERIAL_H_
