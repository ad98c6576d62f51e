// A still image and its PNG encoding, for the thumbnails of the sample templates.
//
// EncodePNG writes a complete, valid PNG file: 8-bit truecolour without alpha, no interlacing, one
// IDAT chunk compressed with zlib, every chunk with its CRC. Any PNG reader decodes it.
//
// Thread safety: plain values and a pure function; use from any thread.

#ifndef ZORVCAPSULE_SAMPLES_PNG_IMAGE_H_
#define ZORVCAPSULE_SAMPLES_PNG_IMAGE_H_

#include <cstdint>
#include <string>
#include <vector>

namespace zorvsamples {

struct RGBColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// Pixels row by row from the top, three bytes (red, green, blue) each.
class RGBImage {
 public:
  // REQUIRES: width > 0, height > 0.
  RGBImage(uint32_t width, uint32_t height);

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  const std::vector<uint8_t>& Pixels() const { return pixels_; }

  // REQUIRES: x < Width(), y < Height().
  void Set(uint32_t x, uint32_t y, RGBColor color);
  RGBColor Get(uint32_t x, uint32_t y) const;

 private:
  uint32_t width_;
  uint32_t height_;
  std::vector<uint8_t> pixels_;
};

// The bytes of a PNG file showing `image`.
std::string EncodePNG(const RGBImage& image);

}  // namespace zorvsamples

#endif  // ZORVCAPSULE_SAMPLES_PNG_IMAGE_H_
