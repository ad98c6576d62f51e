// SpreadsheetColumnInfoLoc: one column of a spreadsheet control: what its cells hold (numbers or
// texts), its name in every language of the template, and the range of a number column's cells.
//
// The data type uses the host's codes (hostbridge::kSpreadsheetDataTypeNumber, ...Text); other
// codes are kept as they are. The range means something for number columns only.
//
// Thread safety: a plain value. Any number of threads may read the same value at once; changing
// one needs exclusive access to it.

#ifndef ZORVCAPSULE_CAPSULE_SPREADSHEET_COLUMN_INFO_LOC_H_
#define ZORVCAPSULE_CAPSULE_SPREADSHEET_COLUMN_INFO_LOC_H_

#include <cstdint>

#include "capsule/capsule_export.h"
#include "capsule/ui_string.h"

namespace zorvcapsule {

struct ZORVCAPSULE_EXPORT SpreadsheetColumnInfoLoc {
  static constexpr double kDefaultMinValue = 0.0;
  static constexpr double kDefaultMaxValue = 100.0;

  // Type 0, no name, range 0 to 100.
  SpreadsheetColumnInfoLoc() = default;
  SpreadsheetColumnInfoLoc(uint32_t data_type, UIString name, double min_value = kDefaultMinValue,
                           double max_value = kDefaultMaxValue);

  uint32_t data_type = 0;
  UIString name;
  double min_value = kDefaultMinValue;
  double max_value = kDefaultMaxValue;

  friend bool operator==(const SpreadsheetColumnInfoLoc&, const SpreadsheetColumnInfoLoc&) =
      default;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_SPREADSHEET_COLUMN_INFO_LOC_H_
