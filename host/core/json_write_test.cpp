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

// Writes value through the stream writer, piece by piece, as a caller with no value would.
void Replay(const JSONValuePtr& value, JSONStreamWriter& writer) {
  if (!value) return writer.Null();
  switch (value->Kind()) {
    case JSONKind::kNull: return writer.Null();
    case JSONKind::kBool: return writer.Bool(value->Get<bool>());
    case JSONKind::kInt64: return writer.Int64(value->Get<int64_t>());
    case JSONKind::kUInt64: return writer.UInt64(value->Get<uint64_t>());
    case JSONKind::kDouble: return writer.Double(value->Get<double>());
    case JSONKind::kString: return writer.String(std::string_view(value->Get<std::string>()));
    case JSONKind::kObject:
      writer.BeginObject();
      for (const auto& [key, member] : value->Get<JSONObject>()) {
        writer.Key(key);
        Replay(member, writer);
      }
      return writer.EndObject();
    case JSONKind::kArray:
      writer.BeginArray();
      for (const auto& element : value->Get<JSONArray>()) Replay(element, writer);
      return writer.EndArray();
  }
}

TEST(JSONStreamWriterTest, WritesWhatTheValueWriterWrites) {
  for (const char* text :
       {R"({"b":[1,2,{"c":{},"d":[]}],"a":"x\"\n\u00e9","e":[[],{}],"f":{"g":{"h":[true,null,-5,1.5,18446744073709551615]}}})",
        "[]", "{}", "[{}]", R"([[[1]],{"k":[{"z":1}]}])", "\"just text\"", "12", "2.5e300", "null"}) {
    SCOPED_TRACE(text);
    const JSONValuePtr value = JSONParse(text);
    for (const bool pretty : {true, false}) {
      JSONStreamWriter writer(pretty);
      Replay(value, writer);
      EXPECT_EQ(writer.Take(), GetJSONUTF8String(value, pretty));
    }
  }
}

}  // namespace
}  // namespace zorvcore::serialization
