#include "capsule/media_values_json.h"

#include <cstdint>
#include <limits>
#include <utility>

#include <boost/rational.hpp>

namespace zorvcapsule::serialization {

namespace zs = zorvcore::serialization;

namespace {

constexpr char kTimeValueKey[] = "value";
constexpr char kTimeScaleKey[] = "scale";
constexpr char kTicksPerFrameKey[] = "ticksperframe";
constexpr char kNumeratorKey[] = "numerator";
constexpr char kDenominatorKey[] = "denominator";
constexpr char kTopLeftKey[] = "topleft";
constexpr char kSizeKey[] = "size";
constexpr char kPointXKey[] = "x";
constexpr char kPointYKey[] = "y";
constexpr char kFourccKey[] = "fourcc";
constexpr char kPropertiesKey[] = "properties";
constexpr char kChannelLabelKey[] = "channellabel";

JSONValuePtr FramePointToJsonValue(const hostbridge::FramePoint& point) {
  JSONObject object;
  zs::AddToObject(object, kPointXKey, zs::MakeJSONInt64(point.x));
  zs::AddToObject(object, kPointYKey, zs::MakeJSONInt64(point.y));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::FramePoint FramePointFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  hostbridge::FramePoint point;
  point.x = ReadInt32Member(object, kPointXKey).value_or(0);
  point.y = ReadInt32Member(object, kPointYKey).value_or(0);
  return point;
}

}  // namespace

JSONValuePtr MediaTimeToJsonValue(const hostbridge::MediaTime& time) {
  JSONObject object;
  zs::AddToObject(object, kTimeValueKey, zs::MakeJSONInt64(time.numerator()));
  zs::AddToObject(object, kTimeScaleKey, zs::MakeJSONInt64(time.denominator()));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::MediaTime MediaTimeFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  const int64_t time_value = ReadInt64Member(object, kTimeValueKey).value_or(0);
  const uint64_t scale = ReadUInt64Member(object, kTimeScaleKey).value_or(1);
  // A scale this large would turn negative as a signed denominator and flip the time's sign.
  if (scale > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
    throw boost::bad_rational("bad rational: scale out of range");
  }
  return hostbridge::MediaTime(time_value, static_cast<int64_t>(scale));
}

JSONValuePtr TickRateToJsonValue(zorvmediatypes::TickTime per_frame) {
  JSONObject object;
  zs::AddToObject(object, kTicksPerFrameKey, zs::MakeJSONInt64(per_frame.Ticks()));
  return zs::MakeJSONObject(std::move(object));
}

zorvmediatypes::TickTime TickRateFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  return zorvmediatypes::TickTime::FromTicks(ReadInt64Member(object, kTicksPerFrameKey).value_or(0));
}

JSONValuePtr PixelAspectRatioToJsonValue(const zorvmediatypes::PixelAspectRatio& ratio) {
  JSONObject object;
  zs::AddToObject(object, kNumeratorKey, zs::MakeJSONUInt64(ratio.numerator));
  zs::AddToObject(object, kDenominatorKey, zs::MakeJSONUInt64(ratio.denominator));
  return zs::MakeJSONObject(std::move(object));
}

zorvmediatypes::PixelAspectRatio PixelAspectRatioFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  zorvmediatypes::PixelAspectRatio ratio;
  if (auto numerator = ReadUInt32Member(object, kNumeratorKey)) ratio.numerator = *numerator;
  if (auto denominator = ReadUInt32Member(object, kDenominatorKey)) {
    ratio.denominator = *denominator;
  }
  return ratio;
}

JSONValuePtr FrameRectToJsonValue(const hostbridge::FrameRect& rect) {
  JSONObject object;
  zs::AddToObject(object, kTopLeftKey, FramePointToJsonValue(rect.top_left));
  zs::AddToObject(object, kSizeKey, FramePointToJsonValue(rect.size));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::FrameRect FrameRectFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  hostbridge::FrameRect rect;
  if (const JSONValuePtr* top_left = FindMember(object, kTopLeftKey)) {
    rect.top_left = FramePointFromJsonValue(*top_left);
  }
  if (const JSONValuePtr* size = FindMember(object, kSizeKey)) {
    rect.size = FramePointFromJsonValue(*size);
  }
  return rect;
}

JSONValuePtr PixelFormatToJsonValue(const hostbridge::PixelFormat& format) {
  JSONObject object;
  zs::AddToObject(object, kFourccKey, zs::MakeJSONUInt64(format.fourcc));
  zs::AddToObject(object, kPropertiesKey, zs::MakeJSONUInt64(format.properties));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::PixelFormat PixelFormatFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  hostbridge::PixelFormat format;
  format.fourcc = ReadUInt32Member(object, kFourccKey).value_or(0);
  format.properties = ReadUInt32Member(object, kPropertiesKey).value_or(0);
  return format;
}

JSONValuePtr AudioChannelToJsonValue(const hostbridge::AudioChannel& channel) {
  JSONObject object;
  zs::AddToObject(object, kChannelLabelKey, zs::MakeJSONInt64(channel.channel_label));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::AudioChannel AudioChannelFromJsonValue(const JSONValuePtr& value) {
  const JSONObject& object = ObjectFromJson(value);
  hostbridge::AudioChannel channel;
  channel.channel_label = ReadInt32Member(object, kChannelLabelKey).value_or(0);
  return channel;
}

JSONValuePtr GuidToJsonValue(const zorvcore::Guid& guid) {
  return zs::MakeJSONString(guid.AsUTF8String());
}

zorvcore::Guid GuidFromJsonValue(const JSONValuePtr& value) {
  return zorvcore::Guid::FromUTF8String(UTF8FromJson(value)).value_or(zorvcore::Guid());
}

}  // namespace zorvcapsule::serialization
