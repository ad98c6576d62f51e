#include "samples/png_image.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "samples/video_thumbnail.h"

namespace zorvsamples {
namespace {

uint32_t BigEndianAt(const std::string& bytes, size_t at) {
  return (uint32_t{static_cast<uint8_t>(bytes[at])} << 24) | (uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16) |
         (uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8) | uint32_t{static_cast<uint8_t>(bytes[at + 3])};
}

TEST(EncodePNG, WritesAFileAnyReaderDecodesToTheSamePixels) {
  RGBImage image(3, 2);
  image.Set(0, 0, {255, 0, 0});
  image.Set(2, 0, {0, 0, 255});
  image.Set(1, 1, {10, 20, 30});
  const std::string png = EncodePNG(image);
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));

  // Chunks follow the signature to the end of the file, each with a matching CRC.
  std::string types, header, data;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t length = BigEndianAt(png, at);
    const std::string type = png.substr(at + 4, 4);
    types += type;
    if (type == "IHDR") header = png.substr(at + 8, length);
    if (type == "IDAT") data = png.substr(at + 8, length);
    EXPECT_EQ(crc32(0L, reinterpret_cast<const Bytef*>(png.data() + at + 4), 4 + length),
              BigEndianAt(png, at + 8 + length))
        << type;
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size()) << "bytes after the last chunk";
  EXPECT_EQ(types, "IHDRIDATIEND");

  ASSERT_EQ(header.size(), 13u);
  EXPECT_EQ(BigEndianAt(header, 0), 3u);
  EXPECT_EQ(BigEndianAt(header, 4), 2u);
  EXPECT_EQ(header[8], 8);  // bits per channel
  EXPECT_EQ(header[9], 2);  // truecolour

  // Each row: filter byte 0, then the row's pixels.
  std::string raw(2 * (1 + 3 * 3), '\0');
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize, reinterpret_cast<const Bytef*>(data.data()),
                       data.size()),
            Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  EXPECT_EQ(raw, std::string("\0\xff\0\0\0\0\0\0\0\xff", 10) + std::string("\0\0\0\0\x0a\x14\x1e\0\0\0", 10));
}

TEST(MakeVideoThumbnail, IsAFileTypeBoxFollowedByAFreeBoxCarryingTheLabel) {
  const std::string bytes = MakeVideoThumbnail("sample 7");
  ASSERT_GE(bytes.size(), 16u);
  const uint32_t typeBoxSize = BigEndianAt(bytes, 0);
  EXPECT_EQ(bytes.substr(4, 4), "ftyp");
  EXPECT_EQ(bytes.substr(8, 4), "isom");
  ASSERT_EQ(typeBoxSize % 4, 0u);  // major brand, minor version, whole compatible brands
  ASSERT_LT(typeBoxSize + 8, bytes.size());
  EXPECT_EQ(bytes.substr(typeBoxSize + 4, 4), "free");
  EXPECT_EQ(BigEndianAt(bytes, typeBoxSize), bytes.size() - typeBoxSize);
  EXPECT_EQ(bytes.substr(typeBoxSize + 8), "sample 7");
}

}  // namespace
}  // namespace zorvsamples
