// SourceInfo: the host's description of the media a template's source project produces: frame
// size and rate, duration and work area, audio layout, colour space, the template's parameters,
// a remote-asset request, and the markers the host keeps about the source.
//
// A default-constructed SourceInfo describes no media: empty texts and lists, zero times and the
// defaults of the value types, with two exceptions worth knowing: both field-type codes start as
// kFieldTypeUnknown, since a progressive (0) claim would be a guess.
//
// Thread safety: a plain value; distinct values may be used from any thread, and a value nobody
// changes may be read from several threads at once.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_SOURCE_INFO_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_SOURCE_INFO_H_

#include <cstdint>
#include <string>
#include <vector>

#include "host/core/guid.h"
#include "host/hostbridge/audio_channel.h"
#include "host/hostbridge/capsule_param_list.h"
#include "host/hostbridge/farside_asset_request_info.h"
#include "host/hostbridge/frame_rect.h"
#include "host/hostbridge/media_time.h"
#include "host/hostbridge/pixel_format.h"
#include "host/mediatypes/color_space.h"
#include "host/mediatypes/pixel_aspect_ratio.h"
#include "host/mediatypes/tick_time.h"

namespace hostbridge {

// Field-type codes the host gives meaning to; other codes are kept as they are.
inline constexpr int32_t kFieldTypeUnknown = -1;
inline constexpr int32_t kFieldTypeProgressive = 0;
inline constexpr int32_t kFieldTypeUpperFirst = 1;
inline constexpr int32_t kFieldTypeLowerFirst = 2;

struct SourceInfo {
  std::u16string parent_project_file;
  std::u16string name;
  std::u16string media_producer_description;
  zorvcore::Guid id;
  MediaTime duration;
  zorvmediatypes::PixelAspectRatio pixel_aspect_ratio;
  int32_t alpha_channel_type = 0;  // the host's alpha-channel code
  FrameRect frame_rect;
  zorvmediatypes::TickTime frame_rate;  // the duration of one frame
  std::vector<PixelFormat> pixel_formats;
  int32_t field_type = kFieldTypeUnknown;
  int32_t native_field_type = kFieldTypeUnknown;
  std::vector<AudioChannel> audio_channel_layout;
  zorvmediatypes::TickTime audio_sample_rate;  // the duration of one audio sample frame
  zorvcore::Guid initial_content_state;
  bool has_audio = false;
  bool has_video = false;
  MediaTime current_time;
  MediaTime work_in_point;
  MediaTime work_out_point;
  double alpha_matte_color_r = 0.0;
  double alpha_matte_color_g = 0.0;
  double alpha_matte_color_b = 0.0;
  MediaTime start_time;
  bool is_drop_frame = false;
  bool is_xmp_writable = false;
  MediaTime in_point;
  MediaTime out_point;
  bool is_media = false;
  bool supports_video_rendering_sessions = false;
  std::string app_specific_source_info;  // opaque to everyone but its application, byte for byte
  CapsuleParamList capsule_params;
  FarsideAssetRequestInfo farside_asset_request_info;
  zorvmediatypes::ColorSpace color_space;
  bool has_frozen_unstretchable_regions = false;

  friend bool operator==(const SourceInfo&, const SourceInfo&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_SOURCE_INFO_H_
