#include "host/core/unicode.h"

#include <cstdint>
#include <cstring>

#include "host/core/utf8_character.h"

namespace zorvcore {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

void AppendUTF8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

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

}  // namespace

UTF8Character DecodeUTF8At(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1, true};
  size_t trailing;
  char32_t cp;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacement, 1, false};
  }
  size_t length = 1;
  for (size_t k = 0; k < trailing; ++k, ++length) {
    if (at + length >= text.size()) return {kReplacement, length, false};
    const auto byte = static_cast<unsigned char>(text[at + length]);
    if (k == 0 ? (byte < low || byte > high) : !IsContinuation(byte)) return {kReplacement, length, false};
    cp = (cp << 6) | (byte & 0x3F);
  }
  return {cp, length, true};
}

bool IsWellFormedUTF8(std::string_view text) {
  size_t at = 0;
  while ((at = AsciiRunEnd(text, at)) < text.size()) {
    const UTF8Character character = DecodeUTF8At(text, at);
    if (!character.wellFormed) return false;
    at += character.length;
  }
  return true;
}

std::string UTF16ToUTF8(std::u16string_view text) {
  // Mostly ASCII: copied unit for unit until the first other one.
  std::string out(text.size(), '\0');
  size_t i = 0;
  for (; i < text.size() && text[i] < 0x80; ++i) out[i] = static_cast<char>(text[i]);
  if (i == text.size()) return out;
  out.resize(i);
  for (; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        ++i;
      } else {
        unit = kReplacement;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      unit = kReplacement;
    }
    AppendUTF8(unit, out);
  }
  return out;
}

std::u16string UTF8ToUTF16(std::string_view text) {
  // Every sequence of n bytes gives at most n units, so the text's length is room enough.
  std::u16string out(text.size(), u'\0');
  char16_t* write = out.data();
  size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      *write++ = byte;
      ++i;
      continue;
    }
    const UTF8Character character = DecodeUTF8At(text, i);
    i += character.length;
    char32_t cp = character.codePoint;
    if (cp < 0x10000) {
      *write++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *write++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *write++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
  }
  out.resize(static_cast<size_t>(write - out.data()));
  return out;
}

std::string UTF16toStdString(std::u16string_view text) { return UTF16ToUTF8(text); }

std::u16string StdToUTF16String(std::string_view text) { return UTF8ToUTF16(text); }

std::vector<std::u16string> StdToUTF16Strings(const std::vector<std::string>& texts) {
  std::vector<std::u16string> wide;
  wide.reserve(texts.size());
  for (const auto& text : texts) wide.push_back(StdToUTF16String(text));
  return wide;
}

std::u16string AsciiToUTF16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : static_cast<char16_t>(kReplacement));
  }
  return out;
}

namespace {

char16_t LowerCaseUnit(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);  // Latin-1
  if (c >= 0x100 && c <= 0x17F) {                                                   // Latin Ext-A
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    const bool even_upper = (c < 0x138) || (c > 0x149 && c < 0x178);
    if (c == 0x178) return 0xFF;
    if (even_upper) return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
    return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);  // Greek
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);                // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

}  // namespace

std::u16string LowerCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = LowerCaseUnit(c);
  return out;
}

}  // namespace zorvcore
