#include "catalogue/package_description.h"

#include <cstdint>
#include <cstring>

#include "host/core/unicode.h"
#include "package/package_names.h"

namespace zorvcapsule {
namespace {

// Descriptions are mostly ASCII: skip eight such bytes at a time.
size_t AsciiRunEnd(std::string_view text, size_t at) {
  while (text.size() - at >= 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    if (word & 0x8080808080808080ull) break;
    at += 8;
  }
  while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
  return at;
}

// Length of the well-formed sequence that starts at `at` (a lead byte above 0x7F), or 0 when none
// does. The second byte's range shuts out overlong forms, surrogates and code points past U+10FFFF.
size_t SequenceLength(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  size_t length;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

bool IsWellFormedUTF8(std::string_view text) {
  size_t at = 0;
  while ((at = AsciiRunEnd(text, at)) < text.size()) {
    const size_t length = SequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string ReadDescriptionUTF8(const CapsuleZip& package) {
  const auto block = package.UnzipItem(zorvcore::UTF16ToUTF8(kJSONFileName));
  if (block == nullptr || block->Size() == 0) return std::string();
  const std::string_view bytes(reinterpret_cast<const char*>(block->Buffer()), block->Size());
  if (IsWellFormedUTF8(bytes)) return std::string(bytes);
  return zorvcore::UTF16ToUTF8(zorvcore::StdToUTF16String(bytes));
}

}  // namespace zorvcapsule
