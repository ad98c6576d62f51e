#include "stock/stock_capsule_entry.h"

namespace zorvcapsule {

StockCapsuleEntry::StockCapsuleEntry() = default;

StockCapsuleEntry::~StockCapsuleEntry() = default;

std::u16string StockCapsuleEntry::GetVideoPreviewPath() const { return videoPreviewURL; }

}  // namespace zorvcapsule
