#include "samples/png_image.h"

#include <zlib.h>

#include <new>

namespace zorvsamples {
namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr uint8_t kBitDepth = 8;
constexpr uint8_t kColorTypeTruecolor = 2;
constexpr uint8_t kFilterNone = 0;

void AppendBigEndian(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

// Length, type, data and a CRC over type and data.
void AppendChunk(std::string& out, const char (&type)[5], const std::string& data) {
  AppendBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.append(type, 4);
  out += data;
  const auto* crcStart = reinterpret_cast<const Bytef*>(out.data() + typeAt);
  AppendBigEndian(out, static_cast<uint32_t>(crc32(0L, crcStart, static_cast<uInt>(4 + data.size()))));
}

std::string HeaderData(const RGBImage& image) {
  std::string data;
  AppendBigEndian(data, image.Width());
  AppendBigEndian(data, image.Height());
  data.push_back(static_cast<char>(kBitDepth));
  data.push_back(static_cast<char>(kColorTypeTruecolor));
  data.push_back(0);  // deflate
  data.push_back(0);  // adaptive filtering
  data.push_back(0);  // not interlaced
  return data;
}

// Every row led by its filter byte, then zlib-compressed.
std::string ImageData(const RGBImage& image) {
  const size_t rowBytes = size_t{image.Width()} * 3;
  std::string raw;
  raw.reserve((rowBytes + 1) * image.Height());
  const auto& pixels = image.Pixels();
  for (uint32_t y = 0; y < image.Height(); ++y) {
    raw.push_back(static_cast<char>(kFilterNone));
    raw.append(reinterpret_cast<const char*>(pixels.data()) + y * rowBytes, rowBytes);
  }
  uLongf compressedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string compressed(compressedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &compressedSize,
                reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    throw std::bad_alloc();  // compress2 fails only when memory runs out
  }
  compressed.resize(compressedSize);
  return compressed;
}

}  // namespace

RGBImage::RGBImage(uint32_t width, uint32_t height)
    : width_(width), height_(height), pixels_(size_t{width} * height * 3, 0) {}

void RGBImage::Set(uint32_t x, uint32_t y, RGBColor color) {
  const size_t at = (size_t{y} * width_ + x) * 3;
  pixels_[at] = color.red;
  pixels_[at + 1] = color.green;
  pixels_[at + 2] = color.blue;
}

RGBColor RGBImage::Get(uint32_t x, uint32_t y) const {
  const size_t at = (size_t{y} * width_ + x) * 3;
  return {pixels_[at], pixels_[at + 1], pixels_[at + 2]};
}

std::string EncodePNG(const RGBImage& image) {
  std::string png(kSignature, sizeof(kSignature) - 1);
  AppendChunk(png, "IHDR", HeaderData(image));
  AppendChunk(png, "IDAT", ImageData(image));
  AppendChunk(png, "IEND", std::string());
  return png;
}

}  // namespace zorvsamples
