#include "capsule/media_values_json.h"

#include <string>
#include <tuple>

#include <boost/rational.hpp>
#include <gtest/gtest.h>

#include "host/core/json_parse.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using hostbridge::MediaTime;

MediaTime ReadTime(const char* text) { return MediaTimeFromJsonValue(zs::JSONParse(text)); }
std::string Text(const JSONValuePtr& value) { return zs::GetJSONUTF8String(value, false); }

TEST(MediaTimeJsonTest, ReadsAndWritesReducedFractionsAndRefusesAZeroOrHugeScale) {
  // Without a scale the value counts whole seconds; without a value the time is zero.
  for (const auto& [text, numerator, denominator] : {std::tuple<const char*, int64_t, int64_t>{
           "{\"value\":6,\"scale\":4}", 3, 2}, {"{\"value\":0,\"scale\":7}", 0, 1}, {"{\"value\":-5,\"scale\":10}", -1, 2},
       {"{\"value\":-9223372036854775808,\"scale\":9223372036854775807}", INT64_MIN, INT64_MAX},
       {"{\"value\":12}", 12, 1}, {"{}", 0, 1}}) {
    const MediaTime time = ReadTime(text);
    EXPECT_EQ(time.numerator(), numerator) << text;
    EXPECT_EQ(time.denominator(), denominator) << text;
  }
  // Written signed.
  EXPECT_EQ(Text(MediaTimeToJsonValue(MediaTime(-1001, 30000))), "{\"scale\":30000,\"value\":-1001}");

  // Zero, 2^63, 2^64 - 1, and a negative scale (read as unsigned) cannot be a positive denominator.
  for (const char* scale : {"0", "9223372036854775808", "18446744073709551615", "-4"}) {
    EXPECT_THROW(ReadTime((std::string("{\"value\":1,\"scale\":") + scale + "}").c_str()), boost::bad_rational) << scale;
  }
  // A value of another kind is refused in the description readers' test; here the near misses.
  for (const char* text : {"{\"value\":1.5,\"scale\":2}", "{\"value\":1,\"scale\":2.0}", "{\"scale\":null}"}) {
    EXPECT_THROW(ReadTime(text), zs::BadCastError) << text;
  }
}

TEST(SmallMediaValuesJsonTest, MissingMembersReadAsDefaultsAndNumbersAreWrittenAsTheFormSays) {
  const hostbridge::FrameRect rect =
      FrameRectFromJsonValue(zs::JSONParse("{\"topleft\":{\"x\":5},\"size\":{\"y\":-7}}"));
  EXPECT_EQ(rect, (hostbridge::FrameRect{{5, 0}, {0, -7}}));
  EXPECT_EQ(Text(FrameRectToJsonValue({{-1, 2}, {1920, 1080}})),
            "{\"size\":{\"x\":1920,\"y\":1080},\"topleft\":{\"x\":-1,\"y\":2}}");
  EXPECT_THROW(FrameRectFromJsonValue(zs::JSONParse("{\"size\":{\"x\":1.5}}")), zs::BadCastError);

  // Written unsigned where the form says so.
  EXPECT_EQ(Text(PixelAspectRatioToJsonValue({4294967295u, 11})),
            "{\"denominator\":11,\"numerator\":4294967295}");
  EXPECT_EQ(Text(PixelFormatToJsonValue({0x80000001u, 2})),
            "{\"fourcc\":2147483649,\"properties\":2}");
  EXPECT_EQ(Text(AudioChannelToJsonValue({-3})), "{\"channellabel\":-3}");
  EXPECT_EQ(Text(TickRateToJsonValue(zorvmediatypes::TickTime::FromTicks(-2))),
            "{\"ticksperframe\":-2}");
  // A pixel aspect ratio without members stays square.
  EXPECT_EQ(PixelAspectRatioFromJsonValue(zs::JSONParse("{\"numerator\":3}")),
            (zorvmediatypes::PixelAspectRatio{3, 1}));

  // A GUID's text that does not parse reads as the zero GUID.
  EXPECT_TRUE(GuidFromJsonValue(zs::MakeJSONString("not a guid")).IsNull());
}

}  // namespace
}  // namespace zorvcapsule::serialization
