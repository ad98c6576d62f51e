#include "host/core/json_write.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "host/core/json_parse.h"

namespace zorvcore::serialization {
namespace {

std::string Compact(const JSONValuePtr& value) { return GetJSONUTF8String(value, false); }

uint64_t BitsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// The text of every kind is pinned where whole documents are (control and report tests); here the
// empty pointers a tree may hold.
TEST(JSONWriteTest, EmptyPointersAreWrittenAsNull) {
  JSONValuePtr object = MakeJSONObject(), array = MakeJSONArray();
  AddToObject(object, "e", nullptr);
  AppendToArray(array, JSONValuePtr());
  AddToObject(object, "a", array);
  EXPECT_EQ(Compact(object), R"({"a":[null],"e":null})");
  EXPECT_EQ(Compact(nullptr), "null");
  EXPECT_EQ(GetJSONUTF8String(JSONValue(int64_t{3}), false), "3");
}

TEST(JSONWriteTest, StringsAreEscapedAndIllFormedUTF8IsReplaced) {
  const std::string raw = std::string("q\"b\\s/n\nr\rt\tb\bf\f\x01\x1f\x7f", 19) +
                          std::string(1, '\0') + "\xC3\xA9\xE2\x80\xA8";
  const std::string written = Compact(MakeJSONString(raw));
  EXPECT_EQ(written,
            "\"q\\\"b\\\\s/n\\nr\\rt\\tb\\bf\\f\\u0001\\u001f\x7f\\u0000\xC3\xA9\xE2\x80\xA8\"");
  EXPECT_EQ(AsString(JSONParse(written)), raw);

  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, "a\"b", MakeJSONNull());
  AddToObject(object, std::string("k\xFF"), MakeJSONString(std::string("v\xC3")));
  AddToObject(object, u"\u540d", MakeJSONString(u"\u00e9"));
  const std::string keys = Compact(object);
  EXPECT_EQ(keys, "{\"a\\\"b\":null,\"k\xEF\xBF\xBD\":\"v\xEF\xBF\xBD\",\"\xE5\x90\x8D\":\"\xC3\xA9\"}");
  EXPECT_TRUE(JSONParse(keys));
  EXPECT_EQ(GetJSONString(object, false), u"{\"a\\\"b\":null,\"k\ufffd\":\"v\ufffd\",\"\u540d\":\"\u00e9\"}");
}

TEST(JSONWriteTest, NumbersAreExactAndDoublesShortestAndStillDoubles) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    JSONValuePtr value;
    const char* text;
  } cases[] = {
      {MakeJSONInt64(std::numeric_limits<int64_t>::min()), "-9223372036854775808"},
      {MakeJSONInt64(std::numeric_limits<int64_t>::max()), "9223372036854775807"},
      {MakeJSONUInt64(UINT64_MAX), "18446744073709551615"}, {MakeJSONInt64(0), "0"},
      {MakeJSONDouble(0.1), "0.1"}, {MakeJSONDouble(1e300), "1e+300"}, {MakeJSONDouble(-0.0), "-0.0"},
      {MakeJSONDouble(5e-324), "5e-324"}, {MakeJSONDouble(1.0), "1.0"}, {MakeJSONDouble(100.0), "100.0"},
      {MakeJSONDouble(-2.5), "-2.5"}, {MakeJSONDouble(1e21), "1e+21"},
      {MakeJSONDouble(1.7976931348623157e308), "1.7976931348623157e+308"},
      {MakeJSONDouble(123456789.125), "123456789.125"}, {MakeJSONDouble(nan), "null"},
      {MakeJSONDouble(inf), "null"}, {MakeJSONDouble(-inf), "null"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string written = Compact(c.value);
    EXPECT_EQ(written, c.text);
    if (!c.value->IsDouble() || written == "null") continue;
    const JSONValuePtr back = JSONParse(written);
    ASSERT_TRUE(back && back->IsDouble());
    EXPECT_EQ(BitsOf(AsDouble(back)), BitsOf(AsDouble(c.value)));
  }
}

TEST(JSONWriteTest, DeepValuesAreWrittenWithoutRecursion) {
  const int depth = 200000;
  const JSONValuePtr arrays = MakeJSONArray(), objects = MakeJSONObject();
  JSONValuePtr array = arrays, object = objects;
  for (int i = 1; i < depth; ++i) {
    AppendToArray(array, MakeJSONArray());
    array = AsArray(array)[0];
    AddToObject(object, "k", MakeJSONObject());
    object = GetVariantInObject(object, "k");
  }
  EXPECT_EQ(Compact(arrays), std::string(depth, '[') + std::string(depth, ']'));
  std::string expected;
  for (int i = 1; i < depth; ++i) expected += "{\"k\":";
  expected += "{}" + std::string(depth - 1, '}');
  EXPECT_EQ(Compact(objects), expected);
}

// The catalogue writer's pretty output is pinned by its golden file; here the kinds and empty
// containers it does not write, in both layouts, against the value writer.
TEST(JSONStreamWriterTest, WritesWhatTheValueWriterWrites) {
  const JSONValuePtr value =
      JSONParse(R"({"a":[-5,2.5e300,null,18446744073709551615,{}],"b":{"c":[],"d":[[],{"e":"x"}]}})");
  for (const bool pretty : {true, false}) {
    JSONStreamWriter writer(pretty);
    writer.BeginObject();
    writer.Key("a");
    writer.BeginArray();
    writer.Int64(-5); writer.Double(2.5e300); writer.Null(); writer.UInt64(UINT64_MAX);
    writer.BeginObject(); writer.EndObject();
    writer.EndArray();
    writer.Key("b");
    writer.BeginObject();
    writer.Key("c"); writer.BeginArray(); writer.EndArray();
    writer.Key("d"); writer.BeginArray(); writer.BeginArray(); writer.EndArray();
    writer.BeginObject(); writer.Key("e"); writer.String(std::string_view("x")); writer.EndObject();
    writer.EndArray();
    writer.EndObject();
    writer.EndObject();
    EXPECT_EQ(writer.Take(), GetJSONUTF8String(value, pretty));
  }
}

}  // namespace
}  // namespace zorvcore::serialization
