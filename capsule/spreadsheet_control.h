// SpreadsheetControl: a table of numbers and texts the user fills in row by row (scores, prices,
// chart data). Value: hostbridge::SpreadsheetValue, the cells column by column.
//
// The row limits are not checked against each other or against the value: a maximum below the
// minimum is kept as it is.
//
// Thread safety: as ClientControl.

#ifndef ZORVCAPSULE_CAPSULE_SPREADSHEET_CONTROL_H_
#define ZORVCAPSULE_CAPSULE_SPREADSHEET_CONTROL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "capsule/capsule_export.h"
#include "capsule/client_control.h"
#include "capsule/spreadsheet_column_info_loc.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT SpreadsheetControl : public ClientControl {
 public:
  SpreadsheetControl(std::u16string id, UIString name, const ControlProperties& properties,
                     uint32_t min_rows, uint32_t max_rows,
                     std::vector<SpreadsheetColumnInfoLoc> columns,
                     hostbridge::SpreadsheetValue value);
  ~SpreadsheetControl() override;

  uint32_t GetMinRows() const { return minRows_; }
  uint32_t GetMaxRows() const { return maxRows_; }
  // One entry per column, in column order.
  const std::vector<SpreadsheetColumnInfoLoc>& GetColumnInfo() const { return columns_; }

 private:
  uint32_t minRows_;
  uint32_t maxRows_;
  std::vector<SpreadsheetColumnInfoLoc> columns_;
};

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CAPSULE_SPREADSHEET_CONTROL_H_
