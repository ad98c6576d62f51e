#include "tools/text_table.h"

#include <algorithm>

#include "tools/text_columns.h"

namespace capsuletool {
namespace {

constexpr const char* kGap = "  ";

}  // namespace

std::vector<size_t> TableColumnWidths(const std::vector<TableRow>& rows, const std::vector<size_t>& caps) {
  if (rows.empty()) return {};
  std::vector<size_t> widths(rows.front().size(), 0);
  for (const TableRow& row : rows) {
    for (size_t column = 0; column < row.size() && column < widths.size(); ++column) {
      widths[column] = std::max(widths[column], DisplayWidth(row[column]));
    }
  }
  for (size_t column = 0; column < caps.size() && column < widths.size(); ++column) {
    if (caps[column] > 0) widths[column] = std::min(widths[column], caps[column]);
  }
  return widths;
}

void WriteTableRow(std::ostream& out, const TableRow& row, const std::vector<size_t>& widths) {
  std::string line;
  for (size_t column = 0; column < row.size(); ++column) {
    const bool last = column + 1 == row.size();
    const size_t width = column < widths.size() ? widths[column] : 0;
    line += last ? row[column] : FitToWidth(row[column], width) + kGap;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  out << line << '\n';
}

void WriteTable(std::ostream& out, const std::vector<TableRow>& rows, const std::vector<size_t>& caps) {
  const std::vector<size_t> widths = TableColumnWidths(rows, caps);
  for (const TableRow& row : rows) WriteTableRow(out, row, widths);
}

}  // namespace capsuletool
