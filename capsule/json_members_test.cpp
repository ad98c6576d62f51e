#include "capsule/json_members.h"

#include <string>

#include <gtest/gtest.h>

#include "host/core/json_parse.h"
#include "host/core/json_write.h"

namespace zorvcapsule::serialization {
namespace {

namespace zs = zorvcore::serialization;
using zs::BadCastError;

JSONObject Parse(const std::string& text) {
  JSONValuePtr root = zs::JSONParse(text);
  EXPECT_TRUE(root && root->IsObject()) << text;
  return root ? zs::AsObject(root) : JSONObject();
}

TEST(JsonMembersTest, AbsentMembersReadAsNothingANullOneIsOfTheWrongType) {
  const JSONObject object = Parse("{}");
  EXPECT_EQ(FindMember(object, "a"), nullptr);
  EXPECT_FALSE(ReadUTF16Member(object, "a") || ReadUTF8ListMember(object, "a"));
  EXPECT_EQ(ReadObjectMember(object, "a"), nullptr);
  EXPECT_EQ(ReadArrayMember(object, "a"), nullptr);

  const JSONObject null = Parse("{\"a\":null}");
  EXPECT_NE(FindMember(null, "a"), nullptr);
  EXPECT_THROW(ReadUTF8Member(null, "a"), BadCastError);
  EXPECT_THROW(ReadNumberMember(null, "a"), BadCastError);
  EXPECT_THROW(ReadObjectMember(null, "a"), BadCastError);
  EXPECT_THROW(ReadUTF8ListMember(null, "a"), BadCastError);
}

TEST(JsonMembersTest, StringsNumbersAndBoolsReadAsTheirKindAllows) {
  const JSONObject object = Parse(
      "{\"s\":\"caf\\u00e9 \\ud83d\\ude00\",\"i\":-3,\"u\":18446744073709551615,\"d\":2.5,\"big\":4294967297,"
      "\"one\":1.0,\"b\":true,\"t\":\"true\",\"f\":\"false\",\"x\":\"TRUE\"}");
  EXPECT_EQ(*ReadUTF16Member(object, "s"), u"caf\u00e9 \U0001F600");
  EXPECT_EQ(*ReadUTF8Member(object, "s"), "caf\xC3\xA9 \xF0\x9F\x98\x80");
  // Numbers come from every number kind; integers refuse doubles and keep their low bits.
  EXPECT_EQ(*ReadNumberMember(object, "i"), -3.0);
  EXPECT_EQ(*ReadNumberMember(object, "u"), 18446744073709551615.0);
  EXPECT_EQ(*ReadNumberMember(object, "d"), 2.5);
  EXPECT_THROW(ReadNumberMember(object, "t"), BadCastError);
  EXPECT_EQ(*ReadInt32Member(object, "big"), 1);
  EXPECT_EQ(*ReadUInt32Member(object, "i"), 0xFFFFFFFDu);
  EXPECT_EQ(*ReadInt64Member(object, "i"), -3);
  EXPECT_THROW(ReadInt32Member(object, "one"), BadCastError);
  EXPECT_THROW(ReadUInt64Member(object, "one"), BadCastError);
  // Bools accept exactly the texts "true" and "false".
  EXPECT_TRUE(*ReadBoolMember(object, "b") && *ReadBoolMember(object, "t"));
  EXPECT_FALSE(*ReadBoolMember(object, "f"));
  EXPECT_THROW(ReadBoolMember(object, "x"), BadCastError);
  EXPECT_THROW(ReadBoolMember(object, "i"), BadCastError);
}

TEST(JsonMembersTest, ListsKeepKindsAndRejectAnyWrongElement) {
  // Long lists keep their order through the pool in the description round trip.
  const JSONObject object = Parse("{\"l\":[\"b\",\"a\"],\"bad\":[\"a\",1],\"n\":[1,2.5]}");
  EXPECT_EQ(*ReadUTF8ListMember(object, "l"), (std::vector<std::string>{"b", "a"}));
  EXPECT_THROW(ReadUTF8ListMember(object, "bad"), BadCastError);
  EXPECT_EQ(*ReadNumberListMember(object, "n"), (std::vector<double>{1, 2.5}));
  EXPECT_THROW(ReadUTF16ListMember(object, "n"), BadCastError);

  EXPECT_EQ(zs::GetJSONUTF8String(UTF8ListToJson({"b", "a"}), false), "[\"b\",\"a\"]");
  EXPECT_EQ(zs::GetJSONUTF8String(UTF8ListToJson({}), false), "[]");
}

}  // namespace
}  // namespace zorvcapsule::serialization
