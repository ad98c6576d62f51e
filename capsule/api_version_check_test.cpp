#include "capsule/api_version_check.h"

#include <locale.h>

#include <string>

#include <gtest/gtest.h>

namespace zorvcapsule::serialization {
namespace {

std::string Document(const std::string& version) {
  return "{\"apiVersion\":\"" + version + "\",\"capsuleName\":\"x\"}";
}

TEST(APIVersionCheckTest, NewerVersionsAreRefused) {
  for (const char* version : {"1.5", "2.0", "10.0", "1.5beta", "inf", "9"}) {
    EXPECT_FALSE(HasReadableAPIVersion(Document(version))) << version;
  }
}

TEST(APIVersionCheckTest, CurrentOlderAndUnreadableVersionsPass) {
  // Only three bytes are read, so "1.40" is 1.4 and "1.49" too; "0x1" is hexadecimal 1.
  for (const char* version : {"1.4", "1.3", "0.3", "1.40", "1.49", "", "abc", "nan", "-5", "0x1"}) {
    EXPECT_TRUE(HasReadableAPIVersion(Document(version))) << version;
  }
}

TEST(APIVersionCheckTest, MissingKeyIsRefusedWhateverElseTheTextHolds) {
  EXPECT_FALSE(HasReadableAPIVersion(""));
  EXPECT_FALSE(HasReadableAPIVersion("{\"apiversion\":\"1.4\"}"));
  EXPECT_FALSE(HasReadableAPIVersion("{\"capsuleName\":\"apiVersio\"}"));
}

TEST(APIVersionCheckTest, ReadsTheRawTextNotTheParsedValue) {
  // No quote after the key: the version reads as 0.
  EXPECT_TRUE(HasReadableAPIVersion("apiVersion"));
  EXPECT_TRUE(HasReadableAPIVersion("{\"apiVersion\":1.5}"));
  // The first occurrence counts, even inside another member's text.
  EXPECT_FALSE(HasReadableAPIVersion("{\"tags\":[\"apiVersion\",\"2.0\"],\"apiVersion\":\"1.4\"}"));
  // Whitespace after the colon does not matter; the next quote opens the value.
  EXPECT_FALSE(HasReadableAPIVersion("{\"apiVersion\" :  \"1.5\"}"));
  // The version may end the text.
  EXPECT_FALSE(HasReadableAPIVersion("\"apiVersion\":\"2"));
  EXPECT_TRUE(HasReadableAPIVersion("\"apiVersion\":\""));
}

TEST(APIVersionCheckTest, TheVerdictSaysWhyATextIsRefused) {
  EXPECT_TRUE(CheckAPIVersion(Document("1.4")).ok());
  EXPECT_TRUE(CheckAPIVersion("{\"capsuleName\":\"x\"}").IsNotFound());
  const zorvcore::Status newer = CheckAPIVersion(Document("2.05"));
  EXPECT_TRUE(newer.IsNotSupported());
  EXPECT_EQ(newer.message(), "2.0");  // the bytes the gate read
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
