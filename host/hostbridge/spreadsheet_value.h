// SpreadsheetValue: the cells of a spreadsheet, column by column, and how many rows are in use.
//
// A column holds numbers or texts, never a mix: a number column keeps its cells in number_values,
// a text column in text_values, each in row order, and the other list stays empty. A column of
// any other data type has no cells.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_VALUE_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_VALUE_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/hostbridge/spreadsheet_data_type.h"

namespace hostbridge {

struct SpreadsheetColumnValue {
  uint32_t data_type = 0;
  std::vector<double> number_values;
  std::vector<std::u16string> text_values;

  static SpreadsheetColumnValue Numbers(std::vector<double> cells) {
    SpreadsheetColumnValue column;
    column.data_type = kSpreadsheetDataTypeNumber;
    column.number_values = std::move(cells);
    return column;
  }
  static SpreadsheetColumnValue Texts(std::vector<std::u16string> cells) {
    SpreadsheetColumnValue column;
    column.data_type = kSpreadsheetDataTypeText;
    column.text_values = std::move(cells);
    return column;
  }

  friend bool operator==(const SpreadsheetColumnValue&, const SpreadsheetColumnValue&) = default;
};

struct SpreadsheetValue {
  uint32_t active_rows = 0;
  std::vector<SpreadsheetColumnValue> column_values;  // in column order

  friend bool operator==(const SpreadsheetValue&, const SpreadsheetValue&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_VALUE_H_
