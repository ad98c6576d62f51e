#include "tools/png_check.h"

#include <zlib.h>

#include <functional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace capsuletool {
namespace {

using ::testing::HasSubstr;

void AppendBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void AppendChunk(std::string& out, const std::string& type, const std::string& data) {
  AppendBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string typed = type + data;
  out += typed;
  AppendBigEndian(out, static_cast<uint32_t>(
                           crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

std::string Compressed(const std::string& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
  out.resize(size);
  return out;
}

// A PNG file made from its parts, each of which a case may spoil.
struct PNGParts {
  uint32_t width = 4;
  uint32_t height = 3;
  uint8_t bitDepth = 8;
  uint8_t colorType = 2;
  uint8_t interlace = 0;
  std::string raw = std::string(3 * (1 + 4 * 3), '\0');  // three rows of filter byte and 4 RGB pixels
  std::string imageData;                                 // when set, stored instead of raw compressed
  bool palette = false;
  size_t dataChunks = 1;  // the image data split over this many IDAT chunks
  bool end = true;

  std::string Bytes() const {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    AppendBigEndian(header, width);
    AppendBigEndian(header, height);
    header += {static_cast<char>(bitDepth), static_cast<char>(colorType), 0, 0, static_cast<char>(interlace)};
    AppendChunk(png, "IHDR", header);
    if (palette) AppendChunk(png, "PLTE", std::string(6, '\x7f'));
    AppendChunk(png, "tEXt", std::string("Comment\0made by a test", 22));
    const std::string data = imageData.empty() ? Compressed(raw) : imageData;
    const size_t piece = (data.size() + dataChunks - 1) / dataChunks;
    for (size_t at = 0; at < data.size(); at += piece) AppendChunk(png, "IDAT", data.substr(at, piece));
    if (end) AppendChunk(png, "IEND", "");
    return png;
  }
};

// (Plain images, as the sample generator encodes them, pass in validate_samples.json.)
TEST(PNGCheck, ImagesThatDecodePass) {
  PNGParts split, interlaced, grey;
  split.dataChunks = 3;
  // Adam7 on 3×3 leaves passes 2 and 3 empty; the others hold 1×1, 1×1, 2×1, 1×2 and 3×1 pixels.
  interlaced.width = interlaced.height = 3;
  interlaced.interlace = 1;
  interlaced.raw = std::string((1 + 3) + (1 + 3) + (1 + 6) + 2 * (1 + 3) + (1 + 9), '\0');
  grey.bitDepth = 1;  // one bit a pixel: 4 pixels in one byte a row
  grey.colorType = 0;
  grey.raw = std::string(3 * 2, '\0');
  for (const std::string& png : {split.Bytes(), interlaced.Bytes(), grey.Bytes()}) {
    EXPECT_EQ(PNGProblem(png), "");
  }
}

TEST(PNGCheck, EachBrokenPartIsNamed) {
  const std::string good = PNGParts().Bytes();
  struct Case {
    const char* what;
    std::function<std::string()> bytes;
    const char* problem;
  };
  // The parts of a good file with one spoiled.
  const auto spoiled = [](void (*spoil)(PNGParts&)) {
    return [spoil] {
      PNGParts parts;
      spoil(parts);
      return parts.Bytes();
    };
  };
  const Case cases[] = {
      {"no signature", [&] { return "GIF89a" + good.substr(6); }, "no PNG signature"},
      {"empty", [] { return std::string(); }, "no PNG signature"},
      {"checksum", [&] { std::string bad = good; bad[good.find("IDAT") + 6] ^= 0x01; return bad; },
       "chunk IDAT at byte"},
      {"cut short", [&] { return good.substr(0, good.size() - 20); }, "runs past the end"},
      {"no end", spoiled([](PNGParts& p) { p.end = false; }), "no IEND"},
      {"zero size", spoiled([](PNGParts& p) { p.height = 0; }), "impossible size"},
      {"bad depth", spoiled([](PNGParts& p) { p.bitDepth = 4; }), "do not go together"},
      {"palette missing", spoiled([](PNGParts& p) { p.colorType = 3; }), "without a PLTE"},
      {"too few rows", spoiled([](PNGParts& p) { p.height = 4; }), "holds 39 bytes where"},
      {"too many rows", spoiled([](PNGParts& p) { p.height = 2; }), "more bytes than"},
      {"filter type", spoiled([](PNGParts& p) { p.raw[13] = 5; }), "unknown filter type 5"},
      {"not zlib", spoiled([](PNGParts& p) { p.imageData = "not deflate at all"; }), "not a valid zlib"},
      {"adler checksum", spoiled([](PNGParts& p) { (p.imageData = Compressed(p.raw)).back() ^= 0x01; }),
       "fails its checksum"},
      {"huge header", spoiled([](PNGParts& p) { p.width = p.height = 100000; }), "too large for a thumbnail"},
      {"unfillable header", spoiled([](PNGParts& p) { p.width = p.height = 2000; }), "far too short"},
  };
  for (const Case& c : cases) EXPECT_THAT(PNGProblem(c.bytes()), HasSubstr(c.problem)) << c.what;
}

}  // namespace
}  // namespace capsuletool
