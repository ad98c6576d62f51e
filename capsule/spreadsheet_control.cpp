#include "capsule/spreadsheet_control.h"

#include <utility>

namespace zorvcapsule {

SpreadsheetControl::SpreadsheetControl(std::u16string id, UIString name,
                                       const ControlProperties& properties, uint32_t min_rows,
                                       uint32_t max_rows,
                                       std::vector<SpreadsheetColumnInfoLoc> columns,
                                       hostbridge::SpreadsheetValue value)
    : ClientControl(kSpreadsheetControlType, std::move(id), std::move(name), properties,
                    std::move(value)),
      minRows_(min_rows),
      maxRows_(max_rows),
      columns_(std::move(columns)) {}

SpreadsheetControl::~SpreadsheetControl() = default;

}  // namespace zorvcapsule
