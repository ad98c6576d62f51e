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

struct Chunk {
  std::string type;
  std::string data;
  bool crcMatches = false;
};

// Splits a PNG file after its signature into chunks, checking each CRC.
std::vector<Chunk> ReadChunks(const std::string& png) {
  std::vector<Chunk> chunks;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t length = BigEndianAt(png, at);
    Chunk chunk;
    chunk.type = png.substr(at + 4, 4);
    chunk.data = png.substr(at + 8, length);
    const auto* typeAndData = reinterpret_cast<const Bytef*>(png.data() + at + 4);
    chunk.crcMatches = crc32(0L, typeAndData, 4 + length) == BigEndianAt(png, at + 8 + length);
    chunks.push_back(chunk);
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size()) << "bytes after the last chunk";
  return chunks;
}

TEST(EncodePNG, WritesAFileAnyReaderDecodesToTheSamePixels) {
  RGBImage image(3, 2);
  image.Set(0, 0, {255, 0, 0});
  image.Set(2, 0, {0, 0, 255});
  image.Set(1, 1, {10, 20, 30});
  const std::string png = EncodePNG(image);

  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
  const std::vector<Chunk> chunks = ReadChunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  for (const Chunk& chunk : chunks) EXPECT_TRUE(chunk.crcMatches) << chunk.type;

  const std::string& header = chunks[0].data;
  ASSERT_EQ(header.size(), 13u);
  EXPECT_EQ(BigEndianAt(header, 0), 3u);
  EXPECT_EQ(BigEndianAt(header, 4), 2u);
  EXPECT_EQ(header[8], 8);  // bits per channel
  EXPECT_EQ(header[9], 2);  // truecolour

  // Each row: filter byte 0, then the row's pixels.
  std::string raw(2 * (1 + 3 * 3), '\0');
  uLongf rawSize = raw.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                       reinterpret_cast<const Bytef*>(chunks[1].data.data()), chunks[1].data.size()),
            Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  const std::string expected = std::string("\0\xff\0\0\0\0\0\0\0\xff", 10) + std::string("\0\0\0\0\x0a\x14\x1e\0\0\0", 10);
  EXPECT_EQ(raw, expected);
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
