// SpreadsheetColumnInfo: the host's description of one spreadsheet column of a template
// parameter: its data type, its name and, for number columns, the range of its cells.
//
// Thread safety: a plain value; distinct values may be used from any thread.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_COLUMN_INFO_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_COLUMN_INFO_H_

#include <cstdint>
#include <string>

#include "host/hostbridge/spreadsheet_data_type.h"

namespace hostbridge {

struct SpreadsheetColumnInfo {
  uint32_t data_type = 0;
  std::u16string name;
  double min_value = 0.0;    // meaningful for number columns only
  double max_value = 100.0;  // meaningful for number columns only

  friend bool operator==(const SpreadsheetColumnInfo&, const SpreadsheetColumnInfo&) = default;
};

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_COLUMN_INFO_H_
