// StockCapsuleEntry: a template found on the stock service.
//
// Besides the catalogue fields it keeps what a search hit says about licensing and the address of
// the hit's preview video. Its `path` is the asset ID (the hit's decimal id), which also names the
// asset's folder in the stock cache. GetVideoPreviewPath returns the preview's address; the local copy
// of the video, once downloaded, is in `videoPreviewPath`.
//
// Thread safety: as CapsuleEntry.

#ifndef ZORVCAPSULE_STOCK_STOCK_CAPSULE_ENTRY_H_
#define ZORVCAPSULE_STOCK_STOCK_CAPSULE_ENTRY_H_

#include <cstdint>
#include <memory>
#include <string>

#include "capsule/capsule_export.h"
#include "catalogue/capsule_entry.h"

namespace zorvcapsule {

class ZORVCAPSULE_EXPORT StockCapsuleEntry : public CapsuleEntry {
 public:
  StockCapsuleEntry();
  StockCapsuleEntry(const StockCapsuleEntry&) = default;
  StockCapsuleEntry& operator=(const StockCapsuleEntry&) = default;
  ~StockCapsuleEntry() override;

  // The preview video's address (`videoPreviewURL`).
  std::u16string GetVideoPreviewPath() const override;

  int32_t premiumLevel = 0;        // the hit's "premium_level_id"
  std::u16string videoPreviewURL;  // the hit's "video_preview_url"
  bool isLicensed = false;         // the hit's "is_licensed" is exactly "Standard"
  bool descriptionLoaded = false;  // the cached description has been applied to the entry
};

using StockCapsuleEntryPtr = std::shared_ptr<StockCapsuleEntry>;

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_CAPSULE_ENTRY_H_
