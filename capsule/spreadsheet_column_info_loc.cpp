#include "capsule/spreadsheet_column_info_loc.h"

#include <utility>

namespace zorvcapsule {

SpreadsheetColumnInfoLoc::SpreadsheetColumnInfoLoc(uint32_t data_type, UIString name,
                                                   double min_value, double max_value)
    : data_type(data_type), name(std::move(name)), min_value(min_value), max_value(max_value) {}

}  // namespace zorvcapsule
