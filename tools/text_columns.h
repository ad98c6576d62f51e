// Laying out UTF-8 text in the columns of a terminal table.
//
// A character's width is the number of terminal cells it takes: 2 for the wide characters of East
// Asian scripts (kana, CJK ideographs, Hangul, full-width forms), 0 for combining marks, 1 for the
// rest. Ill-formed UTF-8 counts one cell a byte.
//
// Thread safety: pure functions; use from any thread.

#ifndef ZORVCAPSULE_TOOLS_TEXT_COLUMNS_H_
#define ZORVCAPSULE_TOOLS_TEXT_COLUMNS_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace capsuletool {

size_t DisplayWidth(std::string_view utf8);

// `utf8` cut to at most `width` cells, ending in "…" when something was cut. Never splits a
// character.
std::string Truncate(std::string_view utf8, size_t width);

// `utf8` cut to `width` cells and padded with spaces to exactly `width` cells.
std::string FitToWidth(std::string_view utf8, size_t width);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TEXT_COLUMNS_H_
