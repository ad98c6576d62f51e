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

// The file's structure (chunks, checksums, header) is checked by the package validator's PNG check;
// this pins the pixels: each row a filter byte 0, then the row's pixels.
TEST(EncodePNG, TheImageDataHoldsThePixelsRowByRow) {
  RGBImage image(3, 2);
  image.Set(0, 0, {255, 0, 0});
  image.Set(2, 0, {0, 0, 255});
  image.Set(1, 1, {10, 20, 30});
  const std::string png = EncodePNG(image);
  const size_t at = png.find("IDAT");
  ASSERT_NE(at, std::string::npos);
  const std::string data = png.substr(at + 4, BigEndianAt(png, at - 4));
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
