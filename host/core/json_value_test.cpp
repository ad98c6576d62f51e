#include "host/core/json_value.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
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

template <class Read>
void ExpectBadCast(Read read) {
  try {
    read();
    ADD_FAILURE() << "no bad cast";
  } catch (const std::bad_cast& error) {
    EXPECT_NE(dynamic_cast<const BadCastError*>(&error), nullptr);
    EXPECT_STREQ(error.what(), "bad cast");
  }
}

TEST(JSONValueTest, FactoriesHoldTheirAlternative) {
  EXPECT_EQ(MakeJSONNull()->Kind(), JSONKind::kNull);
  EXPECT_EQ(MakeJSONBool(true)->Kind(), JSONKind::kBool);
  EXPECT_EQ(MakeJSONInt64(-1)->Kind(), JSONKind::kInt64);
  EXPECT_EQ(MakeJSONUInt64(1)->Kind(), JSONKind::kUInt64);
  EXPECT_EQ(MakeJSONDouble(1)->Kind(), JSONKind::kDouble);
  EXPECT_EQ(MakeJSONString("x")->Kind(), JSONKind::kString);
  EXPECT_EQ(MakeJSONObject()->Kind(), JSONKind::kObject);
  EXPECT_EQ(MakeJSONArray()->Kind(), JSONKind::kArray);
  // A string literal must not decay into the bool alternative.
  EXPECT_TRUE(JSONValue("text").IsString());
  EXPECT_EQ(JSONValue().Get<NullType>(), G_NullType);
  EXPECT_EQ(AsString(MakeJSONString(u"\u00e9t\u00e9")), "\xC3\xA9t\xC3\xA9");
}

TEST(JSONValueTest, TypedReadsReturnTheHeldValue) {
  EXPECT_TRUE(AsBool(MakeJSONBool(true)));
  EXPECT_EQ(AsInt64(MakeJSONInt64(std::numeric_limits<int64_t>::min())),
            std::numeric_limits<int64_t>::min());
  EXPECT_EQ(AsUInt64(MakeJSONUInt64(UINT64_MAX)), UINT64_MAX);
  EXPECT_EQ(AsDouble(MakeJSONDouble(0.25)), 0.25);
  EXPECT_EQ(AsString(MakeJSONString(std::string("abc"))), "abc");
  EXPECT_EQ(AsUTF16String(MakeJSONString("\xE4\xB8\xAD")), u"\u4e2d");
  EXPECT_TRUE(AsObject(MakeJSONObject()).empty());
  EXPECT_TRUE(AsArray(MakeJSONArray()).empty());
}

TEST(JSONValueTest, TypedReadsOfAnotherAlternativeThrowBadCast) {
  ExpectBadCast([] { AsBool(MakeJSONString("true")); });
  ExpectBadCast([] { AsInt64(MakeJSONUInt64(1)); });
  ExpectBadCast([] { AsUInt64(MakeJSONInt64(1)); });
  ExpectBadCast([] { AsDouble(MakeJSONInt64(1)); });
  ExpectBadCast([] { AsString(MakeJSONNull()); });
  ExpectBadCast([] { AsObject(MakeJSONArray()); });
  ExpectBadCast([] { AsArray(MakeJSONObject()); });
  ExpectBadCast([] { MakeJSONBool(false)->Get<std::string>(); });
}

TEST(JSONValueTest, TypedReadsOfAnEmptyPointerThrowBadCast) {
  const JSONValuePtr empty;
  ExpectBadCast([&] { AsBool(empty); });
  ExpectBadCast([&] { AsString(empty); });
  ExpectBadCast([&] { AsObject(empty); });
  ExpectBadCast([&] { AsArray(empty); });
  ExpectBadCast([&] { AsAnyInt64(empty); });
  ExpectBadCast([&] { AsNumber(empty); });
}

TEST(JSONValueTest, IntegerReadsAcceptEitherIntegerKindOnly) {
  EXPECT_EQ(AsAnyInt64(MakeJSONInt64(-5)), -5);
  EXPECT_EQ(AsAnyInt64(MakeJSONUInt64(7)), 7);
  EXPECT_EQ(AsAnyUInt64(MakeJSONInt64(7)), 7u);
  EXPECT_EQ(AsAnyUInt64(MakeJSONUInt64(UINT64_MAX)), UINT64_MAX);
  // Beyond the signed range the bits are kept, so narrowing gives the same low bits.
  EXPECT_EQ(static_cast<int32_t>(AsAnyInt64(MakeJSONUInt64(0xFFFFFFFF00000003ull))), 3);
  ExpectBadCast([] { AsAnyInt64(MakeJSONDouble(1.0)); });
  ExpectBadCast([] { AsAnyUInt64(MakeJSONString("1")); });
  ExpectBadCast([] { AsAnyInt64(MakeJSONBool(true)); });
}

TEST(JSONValueTest, NumberReadAcceptsEveryNumberKindOnly) {
  EXPECT_EQ(AsNumber(MakeJSONDouble(2.5)), 2.5);
  EXPECT_EQ(AsNumber(MakeJSONInt64(-3)), -3.0);
  EXPECT_EQ(AsNumber(MakeJSONUInt64(UINT64_MAX)), 18446744073709551615.0);
  ExpectBadCast([] { AsNumber(MakeJSONString("1")); });
  ExpectBadCast([] { AsNumber(MakeJSONBool(false)); });
  ExpectBadCast([] { AsNumber(MakeJSONNull()); });
}

TEST(JSONValueTest, MembersAreOrderedByKeyBytesAndReplaced) {
  JSONValuePtr object = MakeJSONObject();
  AddToObject(object, "b", MakeJSONInt64(1));
  AddToObject(object, std::string("a"), MakeJSONInt64(2));
  AddToObject(object, u"\u00e9", MakeJSONInt64(3));  // 0xC3 0xA9 sorts after ASCII
  AddToObject(object, std::string_view("B"), MakeJSONInt64(4));
  AddToObject(object, "b", MakeJSONInt64(5));
  EXPECT_THAT(KeysOf(AsObject(object)), testing::ElementsAre("B", "a", "b", "\xC3\xA9"));
  EXPECT_EQ(AsInt64(GetVariantInObject(object, "b")), 5);
}

TEST(JSONObjectTest, BulkConstructionSortsAndLastDuplicateWins) {
  JSONObject object({{"b", MakeJSONInt64(1)},
                     {"a", MakeJSONInt64(2)},
                     {"b", MakeJSONInt64(3)},
                     {"", MakeJSONInt64(4)},
                     {"a", MakeJSONInt64(5)}});
  EXPECT_THAT(KeysOf(object), testing::ElementsAre("", "a", "b"));
  EXPECT_EQ(AsInt64(GetVariantInObject(object, "a")), 5);
  EXPECT_EQ(AsInt64(GetVariantInObject(object, "b")), 3);
}

TEST(JSONObjectTest, LargeObjectsInAnyOrderEndSorted) {
  // Beyond the size sorted in place, and with every key twice.
  JSONObject::Members members;
  for (int round = 0; round < 2; ++round) {
    for (int i = 299; i >= 0; --i) {
      members.emplace_back("k" + std::to_string(1000 + i), MakeJSONInt64(round * 1000 + i));
    }
  }
  JSONObject object(std::move(members));
  ASSERT_EQ(object.size(), 300u);
  for (size_t i = 0; i < object.size(); ++i) {
    auto it = object.begin() + static_cast<ptrdiff_t>(i);
    EXPECT_EQ(it->first, "k" + std::to_string(1000 + i));
    EXPECT_EQ(AsInt64(it->second), 1000 + static_cast<int64_t>(i));
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
  EXPECT_EQ(object.count("z"), 1u);
  EXPECT_EQ(object.erase("m"), 1u);
  EXPECT_EQ(object.erase("m"), 0u);
  EXPECT_EQ(object.find("m"), object.end());
  EXPECT_THAT(KeysOf(object), testing::ElementsAre("a", "z"));
}

TEST(JSONValueTest, UTF16KeysAreStoredAsUTF8) {
  JSONObject object;
  AddToObject(object, u"cl\u00e9\U0001F600", MakeJSONBool(true));
  EXPECT_THAT(KeysOf(object), testing::ElementsAre("cl\xC3\xA9\xF0\x9F\x98\x80"));
  EXPECT_TRUE(ObjectHasProperty(object, u"cl\u00e9\U0001F600"));
  EXPECT_TRUE(AsBool(GetVariantInObject(object, "cl\xC3\xA9\xF0\x9F\x98\x80")));
}

TEST(JSONValueTest, AddingToSomethingThatIsNotAContainerThrowsBadCast) {
  ExpectBadCast([] { AddToObject(MakeJSONArray(), "a", MakeJSONNull()); });
  ExpectBadCast([] { AddToObject(JSONValuePtr(), u"a", MakeJSONNull()); });
  ExpectBadCast([] { AppendToArray(MakeJSONObject(), MakeJSONNull()); });
}

TEST(JSONValueTest, PropertyLookup) {
  JSONValuePtr object = MakeJSONObject();
  JSONValuePtr member = MakeJSONString("v");
  AddToObject(object, "present", member);
  AddToObject(object, "null", MakeJSONNull());
  AddToObject(object, "empty", nullptr);

  EXPECT_TRUE(ObjectHasProperty(object, "present"));
  EXPECT_TRUE(ObjectHasProperty(object, "null"));
  EXPECT_TRUE(ObjectHasProperty(object, "empty"));
  EXPECT_TRUE(ObjectHasProperty(object, u"present", true));
  EXPECT_FALSE(ObjectHasProperty(object, "absent"));
  EXPECT_FALSE(ObjectHasProperty(object, "absent", true));
  EXPECT_FALSE(ObjectHasProperty(object, "Present"));

  EXPECT_EQ(GetVariantInObject(object, "present"), member);  // the same value, not a copy
  EXPECT_EQ(GetVariantInObject(object, u"present"), member);
  EXPECT_TRUE(GetVariantInObject(object, "null")->IsNull());
  EXPECT_EQ(GetVariantInObject(object, "empty"), nullptr);
  EXPECT_EQ(GetVariantInObject(object, "absent"), nullptr);
}

TEST(JSONValueTest, PropertyLookupOnNonObjects) {
  const JSONValuePtr array = MakeJSONArray();
  EXPECT_FALSE(ObjectHasProperty(array, "a"));
  EXPECT_FALSE(ObjectHasProperty(JSONValuePtr(), "a"));
  EXPECT_FALSE(ObjectHasProperty(array, "a", false));
  EXPECT_EQ(GetVariantInObject(array, "a"), nullptr);
  EXPECT_EQ(GetVariantInObject(JSONValuePtr(), u"a"), nullptr);
  ExpectBadCast([&] { ObjectHasProperty(array, "a", true); });
  ExpectBadCast([&] { ObjectHasProperty(JSONValuePtr(), u"a", true); });
}

// Builds [[[...]]] depth levels deep and returns the outermost array.
JSONValuePtr DeepArrays(int depth, JSONValuePtr* middle) {
  JSONValuePtr root = MakeJSONArray();
  JSONValuePtr current = root;
  for (int i = 1; i < depth; ++i) {
    JSONValuePtr inner = MakeJSONArray();
    AppendToArray(current, inner);
    AppendToArray(current, MakeJSONInt64(i));
    if (i == depth / 2 && middle != nullptr) *middle = inner;
    current = inner;
  }
  return root;
}

TEST(JSONValueTest, DroppingADeepValueDoesNotRecurse) {
  JSONValuePtr root = DeepArrays(200000, nullptr);
  root.reset();  // a recursive release would overflow the stack here
  SUCCEED();
}

TEST(JSONValueTest, DroppingAValueKeepsSubtreesHeldElsewhere) {
  JSONValuePtr middle;
  JSONValuePtr root = DeepArrays(1000, &middle);
  root.reset();
  int depth = 1;
  for (JSONValuePtr current = middle; !AsArray(current).empty(); current = AsArray(current)[0]) {
    EXPECT_EQ(AsInt64(AsArray(current)[1]), 500 + depth);
    ++depth;
  }
  EXPECT_EQ(depth, 500);
}

}  // namespace
}  // namespace zorvcore::serialization
