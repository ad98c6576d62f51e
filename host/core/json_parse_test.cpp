#include "host/core/json_parse.h"

#include <gtest/gtest.h>

#include <string>

#include "host/core/json_write.h"

namespace zorvcore::serialization {
namespace {

// Doubles read back bit for bit in the writer's number test; integers at the 64-bit edges of both
// kinds in the media time and control reading tests.
TEST(JSONParseTest, AnExponentMakesADoubleAndAnyKindMayBeTheRoot) {
  EXPECT_EQ(AsDouble(JSONParse("2E2")), 200.0);
  EXPECT_EQ(AsInt64(JSONParse(" 7 ")), 7);
}

// The writer's escapes read back in its own test; here the escapes the writer never writes.
TEST(JSONParseTest, EscapesTheWriterNeverWritesAreRead) {
  EXPECT_EQ(AsString(JSONParse(R"("a\/b")")), "a/b");
  EXPECT_EQ(AsString(JSONParse(R"("caf\u00e9 \ud83d\ude00")")), "caf\xC3\xA9 \xF0\x9F\x98\x80");
}

TEST(JSONParseTest, AllOverloadsAgreeAndReadOnlyTheGivenLength) {
  const std::string text = R"({"k\u00e9y":["v", 1, 2.5]})";
  const std::string expected = "{\"k\xC3\xA9y\":[\"v\",1,2.5]}";
  EXPECT_EQ(GetJSONUTF8String(JSONParse(text), false), expected);
  EXPECT_EQ(GetJSONUTF8String(JSONParse(text.c_str()), false), expected);
  EXPECT_EQ(
      GetJSONUTF8String(JSONParse(std::u16string_view(u"{\"k\u00e9y\":[\"v\",1,2.5]}")), false),
      expected);
  const char buffer[] = "[1]]garbage";
  EXPECT_TRUE(JSONParse(buffer, 3));
  EXPECT_FALSE(JSONParse(buffer, 4));
  EXPECT_FALSE(JSONParse(std::string_view(buffer, 2)));
}

TEST(JSONParseTest, MalformedTextGivesAnEmptyPointer) {
  const char* const cases[] = {
      "", "   ", "{", "{\"a\":", "[1,2", "[1,]", "{\"a\" 1}", "{a:1}", "[1] x", "{} {}", "\"unterminated", "'single'",
      "[01]", "[1.]", "NaN", "[Infinity]", "tru", "nul", "\"tab\there\"", "\"\\x41\"",
      "18446744073709551616", "-9223372036854775809", "1e400",  // beyond every 64-bit integer and double
      "\"\\ud800\"", "\"\\udc00\"", "\"\\ud800\\u0041\"",  // lone or unpaired surrogates
      "\"\xC3\"", "\"\xED\xA0\x80\"", "\"\xFF\"", "[\"\xC0\xAF\"]",  // truncated, surrogate, invalid, overlong UTF-8
  };
  for (const char* text : cases) EXPECT_EQ(JSONParse(text), nullptr) << text;
  EXPECT_EQ(JSONParse(static_cast<const char*>(nullptr)), nullptr);
  EXPECT_EQ(JSONParse(nullptr, 10), nullptr);
  EXPECT_EQ(JSONParse(std::u16string_view()), nullptr);
}

TEST(JSONParseTest, NestingIsReadUpToTheLimitAndRefusedBeyond) {
  const std::string text = std::string(1024, '[') + std::string(1024, ']');
  EXPECT_EQ(GetJSONUTF8String(JSONParse(text), false), text);

  EXPECT_EQ(JSONParse(std::string(1025, '[') + std::string(1025, ']')), nullptr);
  EXPECT_EQ(JSONParse(std::string(100000, '[')), nullptr);
  EXPECT_EQ(JSONParse(std::string(100000, '[') + std::string(100000, ']')), nullptr);
  std::string objects;
  for (int i = 0; i < 100000; ++i) objects += "{\"a\":";
  objects += "1" + std::string(100000, '}');
  EXPECT_EQ(JSONParse(objects), nullptr);
  // The thread's parser is still usable after those failures.
  EXPECT_TRUE(AsBool(GetVariantInObject(JSONParse("{\"after\":true}"), "after")));
}

TEST(JSONParseTest, HugeStringsAreReadWhole) {
  // Larger than the documents a thread's parser is kept for, so the one-off parser is used too.
  for (size_t size : {size_t{100000}, size_t{4} << 20}) {
    std::string text = "[\"" + std::string(size, 'x') + "\"]";
    const JSONValuePtr root = JSONParse(text);
    ASSERT_TRUE(root);
    EXPECT_EQ(AsString(AsArray(root)[0]).size(), size);
    text.pop_back();  // truncated
    EXPECT_EQ(JSONParse(text), nullptr);
  }
}

}  // namespace
}  // namespace zorvcore::serialization
