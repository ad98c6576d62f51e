#include "capsule/media_values_json.h"

#include <cstdint>
#include <limits>
#include <utility>

#include <boost/rational.hpp>

#include "capsule/json_node.h"

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

hostbridge::FramePoint FramePointFromJson(const JsonNode& object) {
  object.RequireObject();
  hostbridge::FramePoint point;
  point.x = ReadInt32Member(object, kPointXKey).value_or(0);
  point.y = ReadInt32Member(object, kPointYKey).value_or(0);
  return point;
}

// The tree form of a node reader.
template <typename Read>
auto FromTree(const JSONValuePtr& value, Read read) {
  return read(JsonNode::TreeRoot(value));
}

}  // namespace

JSONValuePtr MediaTimeToJsonValue(const hostbridge::MediaTime& time) {
  JSONObject object;
  zs::AddToObject(object, kTimeValueKey, zs::MakeJSONInt64(time.numerator()));
  zs::AddToObject(object, kTimeScaleKey, zs::MakeJSONInt64(time.denominator()));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::MediaTime MediaTimeFromJson(const JsonNode& object) {
  object.RequireObject();
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

zorvmediatypes::TickTime TickRateFromJson(const JsonNode& object) {
  object.RequireObject();
  return zorvmediatypes::TickTime::FromTicks(ReadInt64Member(object, kTicksPerFrameKey).value_or(0));
}

JSONValuePtr PixelAspectRatioToJsonValue(const zorvmediatypes::PixelAspectRatio& ratio) {
  JSONObject object;
  zs::AddToObject(object, kNumeratorKey, zs::MakeJSONUInt64(ratio.numerator));
  zs::AddToObject(object, kDenominatorKey, zs::MakeJSONUInt64(ratio.denominator));
  return zs::MakeJSONObject(std::move(object));
}

zorvmediatypes::PixelAspectRatio PixelAspectRatioFromJson(const JsonNode& object) {
  object.RequireObject();
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

hostbridge::FrameRect FrameRectFromJson(const JsonNode& object) {
  object.RequireObject();
  hostbridge::FrameRect rect;
  if (const std::optional<JsonNode> top_left = object.Member(kTopLeftKey)) {
    rect.top_left = FramePointFromJson(*top_left);
  }
  if (const std::optional<JsonNode> size = object.Member(kSizeKey)) rect.size = FramePointFromJson(*size);
  return rect;
}

JSONValuePtr PixelFormatToJsonValue(const hostbridge::PixelFormat& format) {
  JSONObject object;
  zs::AddToObject(object, kFourccKey, zs::MakeJSONUInt64(format.fourcc));
  zs::AddToObject(object, kPropertiesKey, zs::MakeJSONUInt64(format.properties));
  return zs::MakeJSONObject(std::move(object));
}

hostbridge::PixelFormat PixelFormatFromJson(const JsonNode& object) {
  object.RequireObject();
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

hostbridge::AudioChannel AudioChannelFromJson(const JsonNode& object) {
  object.RequireObject();
  hostbridge::AudioChannel channel;
  channel.channel_label = ReadInt32Member(object, kChannelLabelKey).value_or(0);
  return channel;
}

JSONValuePtr GuidToJsonValue(const zorvcore::Guid& guid) {
  return zs::MakeJSONString(guid.AsUTF8String());
}

zorvcore::Guid GuidFromJson(const JsonNode& value) {
  return zorvcore::Guid::FromUTF8String(value.String()).value_or(zorvcore::Guid());
}

hostbridge::MediaTime MediaTimeFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return MediaTimeFromJson(node); });
}
zorvmediatypes::TickTime TickRateFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return TickRateFromJson(node); });
}
zorvmediatypes::PixelAspectRatio PixelAspectRatioFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return PixelAspectRatioFromJson(node); });
}
hostbridge::FrameRect FrameRectFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return FrameRectFromJson(node); });
}
hostbridge::PixelFormat PixelFormatFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return PixelFormatFromJson(node); });
}
hostbridge::AudioChannel AudioChannelFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return AudioChannelFromJson(node); });
}
zorvcore::Guid GuidFromJsonValue(const JSONValuePtr& value) {
  return FromTree(value, [](const JsonNode& node) { return GuidFromJson(node); });
}

}  // namespace zorvcapsule::serialization
