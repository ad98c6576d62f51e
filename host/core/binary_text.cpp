#include "host/core/binary_text.h"

#include <array>

namespace zorvcore {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPad = '=';
constexpr int8_t kNotInAlphabet = -1;

constexpr std::array<int8_t, 256> MakeDecodeTable() {
  std::array<int8_t, 256> table{};
  for (auto& entry : table) entry = kNotInAlphabet;
  for (int i = 0; i < 64; ++i)
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
  return table;
}

constexpr std::array<int8_t, 256> kDecodeTable = MakeDecodeTable();

int SextetOf(char c) { return kDecodeTable[static_cast<unsigned char>(c)]; }

// How many "=" end the text (0, 1 or 2), or -1 when padding is misplaced or too long.
int PaddingLength(std::string_view text) {
  int pad = 0;
  while (pad < static_cast<int>(text.size()) && text[text.size() - 1 - pad] == kPad) ++pad;
  return pad > 2 ? -1 : pad;
}

}  // namespace

std::string EncodeBinaryDataToUTF8String(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  std::string text;
  text.reserve((size + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= size; i += 3) {
    const uint32_t group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    text.push_back(kAlphabet[(group >> 18) & 63]);
    text.push_back(kAlphabet[(group >> 12) & 63]);
    text.push_back(kAlphabet[(group >> 6) & 63]);
    text.push_back(kAlphabet[group & 63]);
  }
  const size_t left = size - i;
  if (left > 0) {
    const uint32_t group = (bytes[i] << 16) | (left == 2 ? bytes[i + 1] << 8 : 0);
    text.push_back(kAlphabet[(group >> 18) & 63]);
    text.push_back(kAlphabet[(group >> 12) & 63]);
    text.push_back(left == 2 ? kAlphabet[(group >> 6) & 63] : kPad);
    text.push_back(kPad);
  }
  return text;
}

bool DecodeBinaryDataFromUTF8String(std::string_view text, std::vector<uint8_t>& data) {
  if (text.size() % 4 != 0) return false;
  const int pad = PaddingLength(text);
  if (pad < 0) return false;
  const size_t symbols = text.size() - static_cast<size_t>(pad);
  std::vector<uint8_t> decoded;
  decoded.reserve(text.size() / 4 * 3);
  uint32_t bits = 0;
  int bitCount = 0;
  for (size_t i = 0; i < symbols; ++i) {
    const int sextet = SextetOf(text[i]);
    if (sextet == kNotInAlphabet) return false;  // "=" inside the text lands here too
    bits = (bits << 6) | static_cast<uint32_t>(sextet);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      decoded.push_back(static_cast<uint8_t>(bits >> bitCount));
      bits &= (1u << bitCount) - 1;
    }
  }
  // Left-over bits are the padding's: 4 after "==", 2 after "=". Any set bit means the text is
  // not the encoding of any data.
  if (bits != 0) return false;
  data = std::move(decoded);
  return true;
}

}  // namespace zorvcore
