#include "capsule/api_version_check.h"

#include <locale.h>

#include <string>

#include <gtest/gtest.h>

namespace zorvcapsule::serialization {
namespace {

std::string Document(const std::string& version) {
  return "{\"apiVersion\":\"" + version + "\",\"capsuleName\":\"x\"}";
}

TEST(APIVersionCheckTest, OnlyNewerVersionsAndAMissingKeyAreRefusedAndTheVerdictSaysWhich) {
  for (const char* version : {"1.5", "2.0", "10.0", "1.5beta", "inf", "9"}) {
    EXPECT_FALSE(HasReadableAPIVersion(Document(version))) << version;
  }
  // Only three bytes are read, so "1.40" is 1.4 and "1.49" too; "0x1" is hexadecimal 1.
  for (const char* version : {"1.4", "1.3", "0.3", "1.40", "1.49", "", "abc", "nan", "-5", "0x1"}) {
    EXPECT_TRUE(HasReadableAPIVersion(Document(version))) << version;
  }
  // The raw text is read, not a parsed value: the first occurrence of the key counts, even inside
  // another member's text, and the next quote opens the version (none: it reads as 0).
  const struct {
    const char* text;
    bool readable;
  } raw[] = {
      {"", false},
      {"{\"apiversion\":\"1.4\"}", false},
      {"{\"capsuleName\":\"apiVersio\"}", false},
      {"apiVersion", true},
      {"{\"apiVersion\":1.5}", true},
      {"{\"tags\":[\"apiVersion\",\"2.0\"],\"apiVersion\":\"1.4\"}", false},
      {"{\"apiVersion\" :  \"1.5\"}", false},
      {"\"apiVersion\":\"2", false},
      {"\"apiVersion\":\"", true},
  };
  for (const auto& c : raw) EXPECT_EQ(HasReadableAPIVersion(c.text), c.readable) << c.text;
  EXPECT_EQ(CheckAPIVersion(Document("2.05")).message(), "2.0");  // the bytes the gate read
}

TEST(APIVersionCheckTest, DecimalCommaLocaleDoesNotChangeTheReading) {
  const char* previous = setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale here";
  const bool refused = !HasReadableAPIVersion(Document("1.5"));
  setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_TRUE(refused);
}

}  // namespace
}  // namespace zorvcapsule::serialization
