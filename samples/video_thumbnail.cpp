#include "samples/video_thumbnail.h"

#include <cstdint>

namespace zorvsamples {
namespace {

void AppendBigEndian(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

// A box is its size (header included), its four-letter type and its payload.
void AppendBox(std::string& out, const char (&type)[5], const std::string& payload) {
  AppendBigEndian(out, static_cast<uint32_t>(8 + payload.size()));
  out.append(type, 4);
  out += payload;
}

std::string FileTypePayload() {
  std::string payload = "isom";    // major brand
  AppendBigEndian(payload, 0x200);  // minor version
  payload += "isomiso2avc1mp41";    // compatible brands
  return payload;
}

}  // namespace

std::string MakeVideoThumbnail(const std::string& label) {
  std::string bytes;
  AppendBox(bytes, "ftyp", FileTypePayload());
  AppendBox(bytes, "free", label);
  return bytes;
}

}  // namespace zorvsamples
