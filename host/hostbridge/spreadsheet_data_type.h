// The data-type codes of spreadsheet columns. Other codes may occur in stored records (a column
// nobody has typed yet is 0); they are kept as they are, with no cells.
//
// Thread safety: constants only.

#ifndef ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_DATA_TYPE_H_
#define ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_DATA_TYPE_H_

#include <cstdint>

namespace hostbridge {

inline constexpr uint32_t kSpreadsheetDataTypeNumber = 1;
inline constexpr uint32_t kSpreadsheetDataTypeText = 2;

}  // namespace hostbridge

#endif  // ZORVCAPSULE_HOST_HOSTBRIDGE_SPREADSHEET_DATA_TYPE_H_
