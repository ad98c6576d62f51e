#include "host/core/binary_text.h"

#include <gtest/gtest.h>

namespace zorvcore {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(BinaryTextTest, Rfc4648TestVectorsAndEveryByteValueAtEveryPaddingLengthRoundTrip) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
  for (const auto& [data, text] : vectors) {
    EXPECT_EQ(EncodeBinaryDataToUTF8String(Bytes(data)), text);
    std::vector<uint8_t> decoded = {0xAA};
    ASSERT_TRUE(DecodeBinaryDataFromUTF8String(text, decoded)) << text;
    EXPECT_EQ(decoded, Bytes(data));
  }
  std::vector<uint8_t> all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<uint8_t>(255 - i));
  for (size_t length : {size_t{254}, size_t{255}, size_t{256}}) {
    const std::vector<uint8_t> data(all.begin(), all.begin() + length);
    const std::string text = EncodeBinaryDataToUTF8String(data);
    EXPECT_EQ(text.size() % 4, 0u);
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(DecodeBinaryDataFromUTF8String(text, decoded));
    EXPECT_EQ(decoded, data);
  }
  EXPECT_EQ(EncodeBinaryDataToUTF8String(Bytes("\xFB\xFF\xBF")), "+/+/");
}

TEST(BinaryTextTest, RefusesMalformedTextAndKeepsTheOutput) {
  for (const char* bad : {
           "Zg=", "Zg", "Z",            // length not a multiple of four
           "Z===", "====", "Zg==Zg==",  // too much padding, padding inside
           "Zg=a", "Z=g=",              // "=" before the end
           "Zh==", "Zm9=",              // bits left over under the padding are not zero
           "Zm9v\n", "Zm 9v", " Zm9v", "Zm9v\r\nYg==",  // whitespace
           "Zm-_", "Zm9\xC3\xA9",                     // URL-safe alphabet, non-ASCII
       }) {
    std::vector<uint8_t> output = {1, 2, 3};
    EXPECT_FALSE(DecodeBinaryDataFromUTF8String(bad, output)) << bad;
    EXPECT_EQ(output, (std::vector<uint8_t>{1, 2, 3})) << bad;
  }
  std::vector<uint8_t> output;
  EXPECT_FALSE(DecodeBinaryDataFromUTF8String(std::string_view("Zm9\0", 4), output));
}

}  // namespace
}  // namespace zorvcore
