// The JSON objects of the small media values inside a source info object:
//
//   time                {"value": 1001, "scale": 30000}          (value / scale seconds)
//   rate                {"ticksperframe": 23520000}              (one frame in host ticks)
//   pixel aspect ratio  {"numerator": 10, "denominator": 11}
//   frame rectangle     {"topleft": {"x": 0, "y": 0}, "size": {"x": 1920, "y": 1080}}
//   pixel format        {"fourcc": 1111970369, "properties": 0}
//   audio channel       {"channellabel": 1}
//   GUID                "0E1A2B3C-4D5E-6F70-8192-A3B4C5D6E7F8"
//
// Readers take each member when present and otherwise the value type's default (0, or 1/1 for
// the aspect ratio). A time is reduced ({"value": 6, "scale": 4} is 3/2); a time without "scale"
// counts whole seconds; a scale of 0 throws boost::bad_rational ("bad rational: zero
// denominator"), as does one of 2^63 or more, which no signed time can hold. A GUID text that is
// not a GUID reads as the all-zero GUID. Any member of another JSON type throws
// zorvcore::serialization::BadCastError.
//
// Thread safety: every function may be called from any thread.

#ifndef ZORVCAPSULE_CAPSULE_MEDIA_VALUES_JSON_H_
#define ZORVCAPSULE_CAPSULE_MEDIA_VALUES_JSON_H_

#include "capsule/json_members.h"
#include "host/core/guid.h"
#include "host/hostbridge/audio_channel.h"
#include "host/hostbridge/frame_rect.h"
#include "host/hostbridge/media_time.h"
#include "host/hostbridge/pixel_format.h"
#include "host/mediatypes/pixel_aspect_ratio.h"
#include "host/mediatypes/tick_time.h"

namespace zorvcapsule::serialization {

// The readers on a JsonNode (json_node.h), of a value tree or of a simdjson document; the forms
// taking a tree value read it through one.
class JsonNode;
hostbridge::MediaTime MediaTimeFromJson(const JsonNode& value);
zorvmediatypes::TickTime TickRateFromJson(const JsonNode& value);
zorvmediatypes::PixelAspectRatio PixelAspectRatioFromJson(const JsonNode& value);
hostbridge::FrameRect FrameRectFromJson(const JsonNode& value);
hostbridge::PixelFormat PixelFormatFromJson(const JsonNode& value);
hostbridge::AudioChannel AudioChannelFromJson(const JsonNode& value);
zorvcore::Guid GuidFromJson(const JsonNode& value);

JSONValuePtr MediaTimeToJsonValue(const hostbridge::MediaTime& time);
hostbridge::MediaTime MediaTimeFromJsonValue(const JSONValuePtr& value);

JSONValuePtr TickRateToJsonValue(zorvmediatypes::TickTime per_frame);
zorvmediatypes::TickTime TickRateFromJsonValue(const JSONValuePtr& value);

JSONValuePtr PixelAspectRatioToJsonValue(const zorvmediatypes::PixelAspectRatio& ratio);
zorvmediatypes::PixelAspectRatio PixelAspectRatioFromJsonValue(const JSONValuePtr& value);

JSONValuePtr FrameRectToJsonValue(const hostbridge::FrameRect& rect);
hostbridge::FrameRect FrameRectFromJsonValue(const JSONValuePtr& value);

JSONValuePtr PixelFormatToJsonValue(const hostbridge::PixelFormat& format);
hostbridge::PixelFormat PixelFormatFromJsonValue(const JSONValuePtr& value);

JSONValuePtr AudioChannelToJsonValue(const hostbridge::AudioChannel& channel);
hostbridge::AudioChannel AudioChannelFromJsonValue(const JSONValuePtr& value);

JSONValuePtr GuidToJsonValue(const zorvcore::Guid& guid);
zorvcore::Guid GuidFromJsonValue(const JSONValuePtr& value);

}  // namespace zorvcapsule::serialization

#endif  // ZORVCAPSULE_CAPSULE_MEDIA_VALUES_JSON_H_
