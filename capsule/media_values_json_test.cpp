#include "capsule/media_values_json.h"

#include <string>

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

TEST(MediaTimeJsonTest, ReadsAndWritesReducedFractions) {
  EXPECT_EQ(ReadTime("{\"value\":6,\"scale\":4}"), MediaTime(3, 2));
  EXPECT_EQ(ReadTime("{\"value\":6,\"scale\":4}").denominator(), 2);
  const MediaTime zero = ReadTime("{\"value\":0,\"scale\":7}");
  EXPECT_EQ(zero.numerator(), 0);
  EXPECT_EQ(zero.denominator(), 1);
  EXPECT_EQ(ReadTime("{\"value\":-5,\"scale\":10}"), MediaTime(-1, 2));
  EXPECT_EQ(ReadTime("{\"value\":-9223372036854775808,\"scale\":9223372036854775807}"),
            MediaTime(INT64_MIN, INT64_MAX));
  // Without a scale the value counts whole seconds; without a value the time is zero.
  EXPECT_EQ(ReadTime("{\"value\":12}"), MediaTime(12));
  EXPECT_EQ(ReadTime("{}"), MediaTime(0));
  // Written as the reduced fraction, signed.
  EXPECT_EQ(Text(MediaTimeToJsonValue(MediaTime(-1001, 30000))),
            "{\"scale\":30000,\"value\":-1001}");
  EXPECT_EQ(Text(MediaTimeToJsonValue(MediaTime(6, 4))), "{\"scale\":2,\"value\":3}");
}

TEST(MediaTimeJsonTest, ZeroOrHugeScaleIsABadRational) {
  try {
    ReadTime("{\"value\":1,\"scale\":0}");
    FAIL() << "a zero scale was accepted";
  } catch (const boost::bad_rational& error) {
    EXPECT_STREQ(error.what(), "bad rational: zero denominator");
  }
  // 2^63, 2^64 - 1, and a negative scale (read as unsigned) cannot be a positive denominator.
  EXPECT_THROW(ReadTime("{\"value\":1,\"scale\":9223372036854775808}"), boost::bad_rational);
  EXPECT_THROW(ReadTime("{\"value\":1,\"scale\":18446744073709551615}"), boost::bad_rational);
  EXPECT_THROW(ReadTime("{\"value\":1,\"scale\":-4}"), boost::bad_rational);
}

TEST(MediaTimeJsonTest, WrongTypesAreBadCasts) {
  for (const char* text : {"[]", "{\"value\":1.5,\"scale\":2}", "{\"value\":1,\"scale\":2.0}",
                           "{\"value\":\"1\"}", "{\"scale\":null}"}) {
    EXPECT_THROW(ReadTime(text), zs::BadCastError) << text;
  }
}

TEST(FrameRectJsonTest, MissingCoordinatesReadAsZero) {
  const hostbridge::FrameRect rect =
      FrameRectFromJsonValue(zs::JSONParse("{\"topleft\":{\"x\":5},\"size\":{\"y\":-7}}"));
  EXPECT_EQ(rect, (hostbridge::FrameRect{{5, 0}, {0, -7}}));
  EXPECT_EQ(FrameRectFromJsonValue(zs::JSONParse("{}")), hostbridge::FrameRect());
  EXPECT_EQ(Text(FrameRectToJsonValue({{-1, 2}, {1920, 1080}})),
            "{\"size\":{\"x\":1920,\"y\":1080},\"topleft\":{\"x\":-1,\"y\":2}}");
  EXPECT_THROW(FrameRectFromJsonValue(zs::JSONParse("{\"size\":[1,2]}")), zs::BadCastError);
  EXPECT_THROW(FrameRectFromJsonValue(zs::JSONParse("{\"size\":{\"x\":1.5}}")), zs::BadCastError);
}

TEST(SmallMediaValuesJsonTest, WrittenUnsignedWhereTheFormSaysSo) {
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
}

TEST(GuidJsonTest, TextFormRoundTripsAndJunkReadsAsZero) {
  const zorvcore::Guid guid(0x0E1A2B3Cu, 0x4D5E, 0x6F70, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0xF8});
  const JSONValuePtr written = GuidToJsonValue(guid);
  EXPECT_EQ(zs::AsString(written), "0E1A2B3C-4D5E-6F70-8192-A3B4C5D6E7F8");
  EXPECT_EQ(GuidFromJsonValue(written), guid);
  EXPECT_TRUE(GuidFromJsonValue(zs::MakeJSONString("not a guid")).IsNull());
  EXPECT_THROW(GuidFromJsonValue(zs::MakeJSONInt64(1)), zs::BadCastError);
}

}  // namespace
}  // namespace zorvcapsule::serialization
