#include "host/core/json_write.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(JSONWriteTest, MembersAreWrittenInKeyOrder) {
  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, "b", MakeJSONInt64(1));
  AddToObject(object, "a", MakeJSONInt64(2));
  EXPECT_EQ(Compact(object), R"({"a":2,"b":1})");
}

TEST(JSONWriteTest, UTF16KeysAreWrittenAsUTF8) {
  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, u"\u540d\u524d", MakeJSONString(u"\u00e9"));
  EXPECT_EQ(Compact(object), "{\"\xE5\x90\x8D\xE5\x89\x8D\":\"\xC3\xA9\"}");
  EXPECT_EQ(GetJSONString(object, false), u"{\"\u540d\u524d\":\"\u00e9\"}");
}

TEST(JSONWriteTest, WritesEveryKind) {
  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, "n", MakeJSONNull());
  AddToObject(object, "e", nullptr);
  AddToObject(object, "t", MakeJSONBool(true));
  AddToObject(object, "f", MakeJSONBool(false));
  AddToObject(object, "o", MakeJSONObject());
  JSONValuePtr array = MakeJSONArray();
  AppendToArray(array, MakeJSONArray());
  AppendToArray(array, nullptr);
  AppendToArray(array, MakeJSONString("s"));
  AddToObject(object, "a", array);
  EXPECT_EQ(Compact(object), R"({"a":[[],null,"s"],"e":null,"f":false,"n":null,"o":{},"t":true})");
  EXPECT_EQ(Compact(nullptr), "null");
  EXPECT_EQ(GetJSONUTF8String(JSONValue(int64_t{3}), false), "3");
}

TEST(JSONWriteTest, EscapesQuotesBackslashesAndControlCharacters) {
  const std::string raw = std::string("q\"b\\s/n\nr\rt\tb\bf\f\x01\x1f\x7f", 19) +
                          std::string(1, '\0') + "\xC3\xA9\xE2\x80\xA8";
  const std::string written = Compact(MakeJSONString(raw));
  EXPECT_EQ(written,
            "\"q\\\"b\\\\s/n\\nr\\rt\\tb\\bf\\f\\u0001\\u001f\x7f\\u0000\xC3\xA9\xE2\x80\xA8\"");
  EXPECT_EQ(AsString(JSONParse(written)), raw);
  // Keys are escaped the same way.
  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, "a\"b", MakeJSONNull());
  EXPECT_EQ(Compact(object), R"({"a\"b":null})");
}

TEST(JSONWriteTest, IllFormedUTF8IsWrittenAsReplacementCharacters) {
  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, std::string("k\xFF"), MakeJSONString(std::string("v\xC3")));
  const std::string written = Compact(object);
  EXPECT_EQ(written, "{\"k\xEF\xBF\xBD\":\"v\xEF\xBF\xBD\"}");
  EXPECT_TRUE(JSONParse(written));
}

TEST(JSONWriteTest, IntegersAreExact) {
  JSONValuePtr array = MakeJSONArray();
  AppendToArray(array, MakeJSONInt64(std::numeric_limits<int64_t>::min()));
  AppendToArray(array, MakeJSONInt64(std::numeric_limits<int64_t>::max()));
  AppendToArray(array, MakeJSONUInt64(UINT64_MAX));
  AppendToArray(array, MakeJSONInt64(0));
  const std::string written = Compact(array);
  EXPECT_EQ(written, "[-9223372036854775808,9223372036854775807,18446744073709551615,0]");
  EXPECT_EQ(Compact(JSONParse(written)), written);
}

TEST(JSONWriteTest, DoublesAreShortestAndStayDoubles) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {1e300, "1e+300"},
      {-0.0, "-0.0"},
      {5e-324, "5e-324"},
      {1.0, "1.0"},
      {100.0, "100.0"},
      {-2.5, "-2.5"},
      {1e21, "1e+21"},
      {0.3, "0.3"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
      {123456789.125, "123456789.125"},
  };
  for (const auto& c : cases) {
    const std::string written = Compact(MakeJSONDouble(c.value));
    EXPECT_EQ(written, c.text);
    const JSONValuePtr back = JSONParse(written);
    ASSERT_TRUE(back && back->IsDouble()) << written;
    EXPECT_EQ(BitsOf(AsDouble(back)), BitsOf(c.value)) << written;
  }
}

TEST(JSONWriteTest, NonFiniteDoublesAreWrittenAsNull) {
  JSONValuePtr array = MakeJSONArray();
  AppendToArray(array, MakeJSONDouble(std::numeric_limits<double>::quiet_NaN()));
  AppendToArray(array, MakeJSONDouble(std::numeric_limits<double>::infinity()));
  AppendToArray(array, MakeJSONDouble(-std::numeric_limits<double>::infinity()));
  EXPECT_EQ(Compact(array), "[null,null,null]");
}

TEST(JSONWriteTest, PrettyFormIndentsByTwoSpaces) {
  const JSONValuePtr root = JSONParse(R"({"b":[1,{}],"a":{"x":[]},"c":"s"})");
  ASSERT_TRUE(root);
  EXPECT_EQ(GetJSONUTF8String(root, true),
            "{\n"
            "  \"a\": {\n"
            "    \"x\": []\n"
            "  },\n"
            "  \"b\": [\n"
            "    1,\n"
            "    {}\n"
            "  ],\n"
            "  \"c\": \"s\"\n"
            "}");
  EXPECT_EQ(Compact(JSONParse(GetJSONUTF8String(root, true))), Compact(root));
}

TEST(JSONWriteTest, ParsedTextRoundTrips) {
  const std::string text =
      "{\"controls\":[{\"id\":\"c1\",\"type\":2,\"value\":0.5},{\"id\":\"c2\",\"type\":7,"
      "\"value\":-1}],\"empty\":[],\"flags\":[true,false,null],\"name\":{\"strDB\":[{"
      "\"localeString\":\"fr_FR\",\"str\":\"Titre \xC3\xA9t\xC3\xA9\"}]},\"ratio\":1.0e0}";
  const JSONValuePtr root = JSONParse(text);
  ASSERT_TRUE(root);
  const std::string written = Compact(root);
  std::string expected = text;
  expected.replace(expected.find("1.0e0"), 5, "1.0");
  EXPECT_EQ(written, expected);
  EXPECT_EQ(Compact(JSONParse(written)), written);
  EXPECT_EQ(Compact(JSONParse(GetJSONString(root, false))), written);
}

TEST(JSONWriteTest, DeepValuesAreWrittenWithoutRecursion) {
  const int depth = 200000;
  JSONValuePtr arrays = MakeJSONArray();
  JSONValuePtr objects = MakeJSONObject();
  JSONValuePtr array = arrays;
  JSONValuePtr object = objects;
  for (int i = 1; i < depth; ++i) {
    JSONValuePtr inner_array = MakeJSONArray();
    AppendToArray(array, inner_array);
    array = inner_array;
    JSONValuePtr inner_object = MakeJSONObject();
    AddToObject(object, "k", inner_object);
    object = inner_object;
  }
  EXPECT_EQ(Compact(arrays), std::string(depth, '[') + std::string(depth, ']'));
  std::string expected;
  for (int i = 1; i < depth; ++i) expected += "{\"k\":";
  expected += "{}" + std::string(depth - 1, '}');
  EXPECT_EQ(Compact(objects), expected);
}

// ---- JSONStreamWriter ----

// Writes value through the stream writer, piece by piece, as a caller with no value would.
void Replay(const JSONValuePtr& value, JSONStreamWriter& writer) {
  if (!value) return writer.Null();
  switch (value->Kind()) {
    case JSONKind::kNull:
      return writer.Null();
    case JSONKind::kBool:
      return writer.Bool(value->Get<bool>());
    case JSONKind::kInt64:
      return writer.Int64(value->Get<int64_t>());
    case JSONKind::kUInt64:
      return writer.UInt64(value->Get<uint64_t>());
    case JSONKind::kDouble:
      return writer.Double(value->Get<double>());
    case JSONKind::kString:
      return writer.String(std::string_view(value->Get<std::string>()));
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
    ASSERT_NE(value, nullptr);
    for (const bool pretty : {true, false}) {
      JSONStreamWriter writer(pretty);
      Replay(value, writer);
      EXPECT_EQ(writer.Take(), GetJSONUTF8String(value, pretty));
    }
  }
}

TEST(JSONStreamWriterTest, TakeHandsOverThePartsWrittenSoFar) {
  JSONStreamWriter writer(true);
  writer.BeginArray();
  writer.String(u"\u00e9");
  std::string text = writer.Take();
  writer.Int64(2);
  writer.EndArray();
  text += writer.Take();
  EXPECT_EQ(text, "[\n  \"\xC3\xA9\",\n  2\n]");
  EXPECT_EQ(writer.Take(), "");
}

}  // namespace
}  // namespace zorvcore::serialization
