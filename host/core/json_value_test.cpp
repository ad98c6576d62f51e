#include "host/core/json_value.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace zorvcore::serialization {
namespace {

std::vector<std::string> KeysOf(const JSONObject& object) {
  std::vector<std::string> keys;
  for (const auto& member : object) keys.push_back(member.first);
  return keys;
}

// Reads of every kind are walked by the member readers and the number tests; here the edges.
TEST(JSONValueTest, TypedReadsReturnTheHeldValue) {
  EXPECT_EQ(MakeJSONNull()->Kind(), JSONKind::kNull);
  EXPECT_TRUE(JSONValue("text").IsString());  // a literal must not decay into the bool alternative
  EXPECT_EQ(JSONValue().Get<NullType>(), G_NullType);
  // Integer reads take either integer kind, keeping the bits beyond the signed range.
  EXPECT_EQ(AsAnyInt64(MakeJSONUInt64(7)), 7);
  EXPECT_EQ(AsAnyUInt64(MakeJSONInt64(7)), 7u);
  EXPECT_EQ(static_cast<int32_t>(AsAnyInt64(MakeJSONUInt64(0xFFFFFFFF00000003ull))), 3);
}

TEST(JSONValueTest, ReadsOfAnotherAlternativeOrOfNothingThrowBadCast) {
  const JSONValuePtr empty;
  const std::vector<std::function<void()>> reads = {
      [] { AsBool(MakeJSONString("true")); }, [] { AsInt64(MakeJSONUInt64(1)); }, [] { AsUInt64(MakeJSONInt64(1)); },
      [] { AsDouble(MakeJSONInt64(1)); }, [] { AsString(MakeJSONNull()); }, [] { AsObject(MakeJSONArray()); },
      [] { AsArray(MakeJSONObject()); }, [] { MakeJSONBool(false)->Get<std::string>(); },
      [] { AsAnyInt64(MakeJSONDouble(1.0)); }, [] { AsAnyInt64(MakeJSONBool(true)); },
      [] { AsAnyUInt64(MakeJSONString("1")); }, [] { AsNumber(MakeJSONString("1")); },
      [] { AsNumber(MakeJSONBool(false)); }, [&] { AsBool(empty); }, [&] { AsString(empty); },
      [&] { AsObject(empty); }, [&] { AsArray(empty); }, [&] { AsAnyInt64(empty); }, [&] { AsNumber(empty); },
      [] { AddToObject(MakeJSONArray(), "a", MakeJSONNull()); },
      [] { AddToObject(JSONValuePtr(), u"a", MakeJSONNull()); },
      [] { AppendToArray(MakeJSONObject(), MakeJSONNull()); }, [] { ObjectHasProperty(MakeJSONArray(), "a", true); },
      [] { ObjectHasProperty(JSONValuePtr(), u"a", true); },
  };
  for (size_t i = 0; i < reads.size(); ++i) {
    try {
      reads[i]();
      ADD_FAILURE() << "no bad cast from read " << i;
    } catch (const std::bad_cast& error) {
      EXPECT_NE(dynamic_cast<const BadCastError*>(&error), nullptr) << i;
      EXPECT_STREQ(error.what(), "bad cast") << i;
    }
  }
}

TEST(JSONObjectTest, MembersAreOrderedByKeyBytesAtAnySizeAndTheLastWriteWins) {
  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, "b", MakeJSONInt64(1));
  AddToObject(object, std::string("a"), MakeJSONInt64(2));
  AddToObject(object, u"\u00e9\U0001F600", MakeJSONInt64(3));  // stored as UTF-8, sorts after ASCII
  AddToObject(object, std::string_view("B"), MakeJSONInt64(4));
  AddToObject(object, "b", MakeJSONInt64(5));
  EXPECT_THAT(KeysOf(AsObject(object)), testing::ElementsAre("B", "a", "b", "\xC3\xA9\xF0\x9F\x98\x80"));
  EXPECT_EQ(AsInt64(GetVariantInObject(object, "b")), 5);

  // Objects built whole, as the parser builds them (small ones in the description readers' test), end
  // sorted with the last member of a key kept: here beyond the size sorted in place, every key twice.
  JSONObject::Members members;
  for (int round = 0; round < 2; ++round) {
    for (int i = 299; i >= 0; --i) {
      members.emplace_back("k" + std::to_string(1000 + i), MakeJSONInt64(round * 1000 + i));
    }
  }
  JSONObject large(std::move(members));  // iterated through the non-const begin and end
  ASSERT_EQ(large.size(), 300u);
  int64_t i = 0;
  for (const auto& [key, value] : large) {
    EXPECT_EQ(key, "k" + std::to_string(1000 + i));
    EXPECT_EQ(AsInt64(value), 1000 + i++);
  }
}

TEST(JSONObjectTest, MapOperations) {
  JSONObject object;
  EXPECT_TRUE(object.emplace("m", MakeJSONInt64(1)).second);
  EXPECT_FALSE(object.emplace("m", MakeJSONInt64(2)).second);  // keeps the first
  EXPECT_EQ(AsInt64(object.find("m")->second), 1);
  EXPECT_FALSE(object.insert_or_assign("m", MakeJSONInt64(3)).second);
  EXPECT_EQ(AsInt64(object.find("m")->second), 3);
  object["z"] = MakeJSONBool(true);
  object["a"];  // added empty
  EXPECT_THAT(KeysOf(object), testing::ElementsAre("a", "m", "z"));
  EXPECT_EQ(object["a"], nullptr);
  EXPECT_EQ(object.erase("m"), 1u);
  EXPECT_EQ(object.erase("m"), 0u);
  EXPECT_EQ(object.find("m"), object.end());
}

TEST(JSONValueTest, PropertyLookup) {
  JSONValuePtr object = MakeJSONObject(), member = MakeJSONString("v");
  AddToObject(object, "present", member);
  AddToObject(object, "null", MakeJSONNull());
  AddToObject(object, "empty", nullptr);
  EXPECT_TRUE(ObjectHasProperty(object, "null"));
  EXPECT_TRUE(ObjectHasProperty(object, "empty"));
  EXPECT_TRUE(ObjectHasProperty(object, u"present", true));
  EXPECT_FALSE(ObjectHasProperty(object, "absent", true));
  EXPECT_FALSE(ObjectHasProperty(object, "Present"));
  EXPECT_EQ(GetVariantInObject(object, u"present"), member);  // the same value, not a copy
  EXPECT_TRUE(GetVariantInObject(object, "null")->IsNull());
  EXPECT_EQ(GetVariantInObject(object, "empty"), nullptr);
  EXPECT_EQ(GetVariantInObject(object, "absent"), nullptr);
  // Without the throwing flag, a non-object simply has no properties.
  EXPECT_FALSE(ObjectHasProperty(MakeJSONArray(), "a", false));
  EXPECT_FALSE(ObjectHasProperty(JSONValuePtr(), "a"));
  EXPECT_EQ(GetVariantInObject(MakeJSONArray(), "a"), nullptr);
  EXPECT_EQ(GetVariantInObject(JSONValuePtr(), u"a"), nullptr);
}

TEST(JSONValueTest, DroppingADeepValueDoesNotRecurseAndKeepsSubtreesHeldElsewhere) {
  constexpr int kDepth = 200000;  // a recursive release would overflow the stack
  JSONValuePtr root = MakeJSONArray(), middle, current = root;
  for (int i = 1; i < kDepth; ++i) {
    JSONValuePtr inner = MakeJSONArray();
    AppendToArray(current, inner);
    AppendToArray(current, MakeJSONInt64(i));
    if (i == kDepth / 2) middle = inner;
    current = inner;
  }
  current.reset();
  root.reset();
  int depth = 1;
  for (current = middle; !AsArray(current).empty(); current = AsArray(current)[0]) {
    ASSERT_EQ(AsInt64(AsArray(current)[1]), kDepth / 2 + depth);
    ++depth;
  }
  EXPECT_EQ(depth, kDepth / 2);
}

}  // namespace
}  // namespace zorvcore::serialization
