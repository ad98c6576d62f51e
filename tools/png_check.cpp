#include "tools/png_check.h"

#include <libdeflate.h>

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace capsuletool {
namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;
constexpr uint32_t kMaxDimension = 0x7FFFFFFFu;
constexpr size_t kHeaderLength = 13;
constexpr uint8_t kLastFilterType = 4;  // None, Sub, Up, Average, Paeth
// Deflate codes at most 258 bytes in a few bits; no stream inflates further than this.
constexpr uint64_t kMaxInflateRatio = 1100;

uint32_t BigEndian32(const unsigned char* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
}

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

struct Chunk {
  std::string type;
  const unsigned char* data = nullptr;
  uint32_t length = 0;
  size_t offset = 0;  // of the chunk's length field in the file
};

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 0;
  uint8_t colorType = 0;
  bool interlaced = false;
};

// Samples per pixel of each colour type and the bit depths it allows; empty for an unknown type.
struct ColorType {
  unsigned samples = 0;
  std::vector<uint8_t> depths;
};

ColorType ColorTypeOf(uint8_t code) {
  switch (code) {
    case 0: return {1, {1, 2, 4, 8, 16}};  // grey
    case 2: return {3, {8, 16}};           // truecolour
    case 3: return {1, {1, 2, 4, 8}};      // palette
    case 4: return {2, {8, 16}};           // grey with alpha
    case 6: return {4, {8, 16}};           // truecolour with alpha
    default: return {};
  }
}

std::string HeaderProblem(const Chunk& chunk, Header& header) {
  if (chunk.length != kHeaderLength) return "the IHDR chunk is " + std::to_string(chunk.length) + " bytes, not 13";
  const unsigned char* d = chunk.data;
  header.width = BigEndian32(d);
  header.height = BigEndian32(d + 4);
  header.bitDepth = d[8];
  header.colorType = d[9];
  if (header.width == 0 || header.height == 0 || header.width > kMaxDimension || header.height > kMaxDimension) {
    return "the header gives an impossible size " + std::to_string(header.width) + "×" + std::to_string(header.height);
  }
  const ColorType type = ColorTypeOf(header.colorType);
  bool depthFits = false;
  for (uint8_t depth : type.depths) depthFits = depthFits || depth == header.bitDepth;
  if (!depthFits) {
    return "the header's bit depth " + std::to_string(header.bitDepth) + " and colour type " +
           std::to_string(header.colorType) + " do not go together";
  }
  if (d[10] != 0) return "the header names an unknown compression method";
  if (d[11] != 0) return "the header names an unknown filter method";
  if (d[12] > 1) return "the header names an unknown interlace method";
  header.interlaced = d[12] == 1;
  return std::string();
}

// The rows of the raw image data: for each pass, how many rows and how many bytes follow each
// row's filter byte. One pass without interlacing, the seven of Adam7 with it; empty passes are
// left out, as they hold no rows at all.
struct Pass {
  uint64_t rows = 0;
  uint64_t rowBytes = 0;
};

std::vector<Pass> PassesOf(const Header& header) {
  struct Step {
    uint32_t x0, y0, dx, dy;
  };
  static constexpr std::array<Step, 7> kAdam7 = {
      {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
  const uint64_t bitsPerPixel = uint64_t{ColorTypeOf(header.colorType).samples} * header.bitDepth;
  const auto rowBytes = [&](uint64_t pixels) { return (pixels * bitsPerPixel + 7) / 8; };
  if (!header.interlaced) return {{header.height, rowBytes(header.width)}};
  std::vector<Pass> passes;
  for (const Step& step : kAdam7) {
    const uint64_t columns = header.width > step.x0 ? (header.width - step.x0 + step.dx - 1) / step.dx : 0;
    const uint64_t rows = header.height > step.y0 ? (header.height - step.y0 + step.dy - 1) / step.dy : 0;
    if (columns > 0 && rows > 0) passes.push_back({rows, rowBytes(columns)});
  }
  return passes;
}

// The size of the raw data; UINT64_MAX for sizes past any limit (dimensions up to 2^31 would
// overflow the product).
uint64_t RawBytes(const std::vector<Pass>& passes) {
  uint64_t total = 0;
  for (const Pass& pass : passes) {
    if (pass.rowBytes + 1 > UINT64_MAX / 8 / pass.rows) return UINT64_MAX;
    total += pass.rows * (pass.rowBytes + 1);
  }
  return total;
}

// Every row of the raw data must begin with a known filter type.
// REQUIRES: raw holds RawBytes(passes) bytes.
std::string FilterTypesProblem(const unsigned char* raw, const std::vector<Pass>& passes) {
  size_t at = 0;
  for (const Pass& pass : passes) {
    for (uint64_t row = 0; row < pass.rows; ++row) {
      if (raw[at] > kLastFilterType) {
        return "a row of the image data has the unknown filter type " + std::to_string(raw[at]);
      }
      at += 1 + pass.rowBytes;
    }
  }
  return std::string();
}

// The thread's inflater and room for raw image data, kept from one thumbnail to the next: a folder
// of packages has thousands of them. Room beyond kKeptRoomBytes is given back at the next image, so a
// huge one does not stay with the thread.
class Inflater {
 public:
  Inflater() : inflater_(libdeflate_alloc_decompressor(), &libdeflate_free_decompressor) {
    if (!inflater_) throw std::bad_alloc();
  }

  libdeflate_decompressor* Get() const { return inflater_.get(); }

  // Room for `bytes`, left unset: the inflater writes every byte that is read afterwards. Valid
  // until the next call.
  unsigned char* Room(size_t bytes) {
    if (bytes > capacity_ || capacity_ > kKeptRoomBytes) {
      room_ = std::make_unique_for_overwrite<unsigned char[]>(bytes);
      capacity_ = bytes;
    }
    return room_.get();
  }

 private:
  static constexpr size_t kKeptRoomBytes = 4 * 1024 * 1024;

  std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> inflater_;
  std::unique_ptr<unsigned char[]> room_;
  size_t capacity_ = 0;
};

Inflater& ThreadInflater() {
  thread_local Inflater inflater;
  return inflater;
}

// The IDAT chunks' data, inflated whole: it must hold exactly the rows the header promises.
std::string ImageDataProblem(const std::vector<Chunk>& imageData, const Header& header) {
  const std::vector<Pass> passes = PassesOf(header);
  const uint64_t expected = RawBytes(passes);
  const auto size = [&header] { return std::to_string(header.width) + "×" + std::to_string(header.height); };
  if (expected > kMaxImageBytes) return "the header's size " + size() + " is too large for a thumbnail";
  std::string joined;  // only when the data is split over several chunks
  std::string_view input(reinterpret_cast<const char*>(imageData.front().data), imageData.front().length);
  if (imageData.size() > 1) {
    for (const Chunk& chunk : imageData) joined.append(reinterpret_cast<const char*>(chunk.data), chunk.length);
    input = joined;
  }
  // No deflate stream inflates past kMaxInflateRatio times its size: a header promising more than
  // that cannot be met, and is told so before any memory is set aside for it.
  if (expected / kMaxInflateRatio > input.size()) {
    return "the image data is far too short for the header's size " + size();
  }
  Inflater& inflater = ThreadInflater();
  unsigned char* raw = inflater.Room(expected);
  size_t produced = 0;
  switch (libdeflate_zlib_decompress(inflater.Get(), input.data(), input.size(), raw, expected, &produced)) {
    case LIBDEFLATE_SUCCESS:
      break;
    case LIBDEFLATE_INSUFFICIENT_SPACE:
      return "the image data holds more bytes than the header's size " + size() + " needs";
    default:
      return "the image data is not a valid zlib stream, or fails its checksum";
  }
  if (produced != expected) {
    return "the image data holds " + std::to_string(produced) + " bytes where the header's size " + size() + " needs " +
           std::to_string(expected);
  }
  return FilterTypesProblem(raw, passes);
}

// Splits the file into chunks, checking each one's frame and checksum.
std::string ChunksProblem(std::string_view bytes, std::vector<Chunk>& chunks) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t at = kSignature.size();
  while (at < bytes.size()) {
    if (bytes.size() - at < 12) return "the file ends inside a chunk at byte " + std::to_string(at);
    Chunk chunk;
    chunk.offset = at;
    chunk.length = BigEndian32(data + at);
    const unsigned char* type = data + at + 4;
    if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3])) {
      return "the chunk at byte " + std::to_string(at) + " has no valid type";
    }
    chunk.type.assign(reinterpret_cast<const char*>(type), 4);
    if (chunk.length > kMaxChunkLength || bytes.size() - at - 12 < chunk.length) {
      return "chunk " + chunk.type + " at byte " + std::to_string(at) + " runs past the end of the file";
    }
    chunk.data = data + at + 8;
    const uint32_t crc = libdeflate_crc32(0, type, 4 + size_t{chunk.length});
    if (crc != BigEndian32(chunk.data + chunk.length)) {
      return "chunk " + chunk.type + " at byte " + std::to_string(at) + " fails its checksum";
    }
    chunks.push_back(chunk);
    at += 12 + size_t{chunk.length};
    if (chunk.type == "IEND") break;  // what follows IEND is not read by decoders
  }
  return std::string();
}

// The order decoders insist on: IHDR first, PLTE before the image data, the IDAT chunks in one
// run, IEND last, and no critical chunk of another kind.
std::string LayoutProblem(const std::vector<Chunk>& chunks, const Header& header, std::vector<Chunk>& imageData) {
  bool palette = false;
  bool dataEnded = false;
  for (size_t i = 1; i < chunks.size(); ++i) {
    const Chunk& chunk = chunks[i];
    const bool critical = chunk.type[0] >= 'A' && chunk.type[0] <= 'Z';
    if (chunk.type == "IDAT") {
      if (dataEnded) return "the IDAT chunks are not consecutive";
      imageData.push_back(chunk);
      continue;
    }
    if (!imageData.empty()) dataEnded = true;
    if (chunk.type == "PLTE") {
      if (!imageData.empty()) return "the PLTE chunk comes after the image data";
      palette = true;
    } else if (chunk.type == "IHDR") {
      return "a second IHDR chunk";
    } else if (critical && chunk.type != "IEND") {
      return "unknown critical chunk " + chunk.type;
    }
  }
  if (chunks.back().type != "IEND") return "the file has no IEND chunk";
  if (imageData.empty()) return "the file has no image data (IDAT)";
  if (header.colorType == 3 && !palette) return "a palette image without a PLTE chunk";
  return std::string();
}

}  // namespace

std::string PNGProblem(std::string_view bytes) {
  if (bytes.size() < kSignature.size() || bytes.substr(0, kSignature.size()) != kSignature) {
    return "not a PNG file (no PNG signature)";
  }
  std::vector<Chunk> chunks;
  if (std::string problem = ChunksProblem(bytes, chunks); !problem.empty()) return problem;
  if (chunks.empty() || chunks.front().type != "IHDR") return "the first chunk is not IHDR";
  Header header;
  if (std::string problem = HeaderProblem(chunks.front(), header); !problem.empty()) return problem;
  std::vector<Chunk> imageData;
  if (std::string problem = LayoutProblem(chunks, header, imageData); !problem.empty()) return problem;
  return ImageDataProblem(imageData, header);
}

}  // namespace capsuletool
