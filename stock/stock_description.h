// A stock template's description: fetched once per asset into the stock cache, and applied to entries.
//
// The service hands out the address of each template's "definition.json". FetchStockDescription
// downloads it (over "https:" even when the address says "http:") into the asset's cache file the
// first time the asset's thumbnail is wanted, with the hit's tags and name written into it. An empty
// cache file marks an asset whose description could not be read: it is not fetched again while the
// file stays, and searches get no description from it. A failed download leaves no file, so a later
// request tries again.
//
// Thread safety: may be called from any thread; the source manager serializes the thumbnail requests
// that fetch descriptions. The cache file is replaced whole (never seen half-written).

#ifndef ZORVCAPSULE_STOCK_STOCK_DESCRIPTION_H_
#define ZORVCAPSULE_STOCK_STOCK_DESCRIPTION_H_

#include <memory>
#include <string>

#include "capsule/capsule.h"
#include "catalogue/capsule_entry.h"

namespace zorvcapsule {

// The description address with an "http:" scheme replaced by "https:"; any other address unchanged.
std::string SecureDescriptionURL(const std::u16string& descriptionPath);

// Downloads and caches the entry's description unless its cache file exists, and applies it to the
// entry when it was read (FillEntryFromCapsule); see above. Never throws.
void FetchStockDescription(const CapsuleEntryPtr& entry);

// Takes the template ID, the used fonts, the duration and the author application from `capsule`, and
// marks a stock entry's description as loaded. Does nothing when either is empty.
void FillEntryFromCapsule(const CapsuleEntryPtr& entry, const std::shared_ptr<Capsule>& capsule);

// The capsule described by the asset's cache file; empty when there is no file or it does not hold
// a readable description. Never throws.
std::shared_ptr<Capsule> ReadCachedStockDescription(const std::u16string& assetID);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_DESCRIPTION_H_
