#include "stock/url_encode.h"

namespace zorvcapsule {
namespace {

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
         byte == '-' || byte == '_' || byte == '.' || byte == '~';
}

}  // namespace

std::string UrlEncode(std::string_view utf8Text) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(utf8Text.size() * 3);
  for (const char c : utf8Text) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte)) {
      encoded.push_back(c);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHexDigits[byte >> 4]);
      encoded.push_back(kHexDigits[byte & 0x0F]);
    }
  }
  return encoded;
}

}  // namespace zorvcapsule
