#include "host/core/guid.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

#include "host/core/unicode.h"

namespace zorvcore {
namespace {

constexpr size_t kTextLength = 36;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// getrandom draws from the kernel's pool without a file descriptor; random_device covers kernels
// that lack the call.
void FillRandom(uint8_t* bytes, size_t size) {
  size_t filled = 0;
  while (filled < size) {
    const ssize_t got = ::getrandom(bytes + filled, size - filled, 0);
    if (got > 0) {
      filled += static_cast<size_t>(got);
    } else if (got < 0 && errno != EINTR) {
      break;
    }
  }
  if (filled == size) return;
  std::random_device device;
  for (; filled < size; ++filled) bytes[filled] = static_cast<uint8_t>(device());
}

uint64_t ReadBigEndian(const uint8_t* bytes, size_t count) {
  uint64_t value = 0;
  for (size_t i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

// The sixteen bytes in text order: the three numbers most significant byte first, then Data4.
Guid FromBigEndianBytes(const uint8_t (&bytes)[16]) {
  Guid guid;
  guid.Data1 = static_cast<uint32_t>(ReadBigEndian(bytes, 4));
  guid.Data2 = static_cast<uint16_t>(ReadBigEndian(bytes + 4, 2));
  guid.Data3 = static_cast<uint16_t>(ReadBigEndian(bytes + 6, 2));
  for (size_t i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
  return guid;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsHyphenPosition(size_t i) { return i == 8 || i == 13 || i == 18 || i == 23; }

}  // namespace

Guid Guid::CreateUnique() {
  uint8_t bytes[16];
  FillRandom(bytes, sizeof bytes);
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4: random
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  return FromBigEndianBytes(bytes);
}

std::optional<Guid> Guid::FromUTF8String(std::string_view text) {
  if (text.size() != kTextLength) return std::nullopt;
  uint8_t bytes[16];
  size_t nibble = 0;
  for (size_t i = 0; i < kTextLength; ++i) {
    if (IsHyphenPosition(i)) {
      if (text[i] != '-') return std::nullopt;
      continue;
    }
    const int value = HexValue(text[i]);
    if (value < 0) return std::nullopt;
    if (nibble % 2 == 0) {
      bytes[nibble / 2] = static_cast<uint8_t>(value << 4);
    } else {
      bytes[nibble / 2] |= static_cast<uint8_t>(value);
    }
    ++nibble;
  }
  return FromBigEndianBytes(bytes);
}

std::optional<Guid> Guid::FromString(std::u16string_view text) {
  // A non-ASCII unit would turn into several UTF-8 bytes; refuse it before converting so that
  // the length check stays exact.
  for (char16_t unit : text) {
    if (unit > 0x7F) return std::nullopt;
  }
  return FromUTF8String(UTF16ToUTF8(text));
}

std::string Guid::AsUTF8String() const {
  std::string text;
  text.reserve(kTextLength);
  auto appendHex = [&text](uint64_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
      text.push_back(kHexDigits[(value >> shift) & 0xF]);
    }
  };
  appendHex(Data1, 8);
  text.push_back('-');
  appendHex(Data2, 4);
  text.push_back('-');
  appendHex(Data3, 4);
  text.push_back('-');
  for (size_t i = 0; i < 8; ++i) {
    if (i == 2) text.push_back('-');
    appendHex(Data4[i], 2);
  }
  return text;
}

std::u16string Guid::AsString() const { return AsciiToUTF16(AsUTF8String()); }

}  // namespace zorvcore
