#include "tools/text_columns.h"

#include <cstdint>

#include "host/core/utf8_character.h"

namespace capsuletool {
namespace {

constexpr std::string_view kEllipsis = "\u2026";

using Decoded = zorvcore::UTF8Character;

// The character at `at`; an ill-formed byte stands alone, so that each one takes a cell.
Decoded DecodeAt(std::string_view text, size_t at) {
  const Decoded decoded = zorvcore::DecodeUTF8At(text, at);
  return decoded.wellFormed ? decoded : Decoded{decoded.codePoint, 1, false};
}

bool IsCombining(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x20D0 && c <= 0x20FF) ||
         (c >= 0xFE20 && c <= 0xFE2F) || c == 0x200B || c == 0x200D;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
         (c >= 0x20000 && c <= 0x3FFFD);
}

size_t CellsOf(const Decoded& decoded) {
  if (!decoded.wellFormed) return 1;
  if (IsCombining(decoded.codePoint)) return 0;
  return IsWide(decoded.codePoint) ? 2 : 1;
}

}  // namespace

size_t DisplayWidth(std::string_view utf8) {
  size_t width = 0;
  for (size_t at = 0; at < utf8.size();) {
    const Decoded decoded = DecodeAt(utf8, at);
    width += CellsOf(decoded);
    at += decoded.length;
  }
  return width;
}

std::string Truncate(std::string_view utf8, size_t width) {
  if (DisplayWidth(utf8) <= width) return std::string(utf8);
  if (width == 0) return std::string();
  // Room for the ellipsis, which takes one cell.
  size_t used = 0;
  size_t at = 0;
  while (at < utf8.size()) {
    const Decoded decoded = DecodeAt(utf8, at);
    const size_t cells = CellsOf(decoded);
    if (used + cells > width - 1) break;
    used += cells;
    at += decoded.length;
  }
  return std::string(utf8.substr(0, at)) + std::string(kEllipsis);
}

std::string FitToWidth(std::string_view utf8, size_t width) {
  std::string fitted = Truncate(utf8, width);
  const size_t used = DisplayWidth(fitted);
  if (used < width) fitted.append(width - used, ' ');
  return fitted;
}

}  // namespace capsuletool
