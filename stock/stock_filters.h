// The values of the stock search's premium filter, as the host passes them to SetFilterType.
//
// Thread safety: constants built when the library loads; any thread may read them.

#ifndef ZORVCAPSULE_STOCK_STOCK_FILTERS_H_
#define ZORVCAPSULE_STOCK_STOCK_FILTERS_H_

#include <string>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

ZORVCAPSULE_EXPORT extern const std::u16string kStockFilterAll;      // "all"
ZORVCAPSULE_EXPORT extern const std::u16string kStockFilterPremium;  // "true"
ZORVCAPSULE_EXPORT extern const std::u16string kStockFilterFree;     // "false"

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_FILTERS_H_
