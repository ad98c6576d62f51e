#include "stock/stock_filters.h"

namespace zorvcapsule {

const std::u16string kStockFilterAll = u"all";
const std::u16string kStockFilterPremium = u"true";
const std::u16string kStockFilterFree = u"false";

}  // namespace zorvcapsule
