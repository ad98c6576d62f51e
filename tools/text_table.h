// Writing rows of UTF-8 cells as a terminal table: columns as wide as their widest cell (within a
// cap per column), separated by two spaces, the last column never padded.
//
// Thread safety: writes to the given stream; use from one thread.

#ifndef ZORVCAPSULE_TOOLS_TEXT_TABLE_H_
#define ZORVCAPSULE_TOOLS_TEXT_TABLE_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace capsuletool {

using TableRow = std::vector<std::string>;

// The width of each column of `rows`; `caps[i]`, when present and not 0, limits column i.
// REQUIRES: every row has the same number of cells.
std::vector<size_t> TableColumnWidths(const std::vector<TableRow>& rows, const std::vector<size_t>& caps);

// One line: each cell but the last fitted to its column's width, trailing spaces dropped.
void WriteTableRow(std::ostream& out, const TableRow& row, const std::vector<size_t>& widths);

void WriteTable(std::ostream& out, const std::vector<TableRow>& rows, const std::vector<size_t>& caps);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_TEXT_TABLE_H_
