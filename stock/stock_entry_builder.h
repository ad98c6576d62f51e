// BuildStockEntry: a catalogue entry for one hit of a stock search.
//
// The entry's `path` is the hit's id in decimal, the asset ID that names its cache folder. Texts come
// from the hit as they are (UTF-8 to UTF-16), the tags from its keywords in order, and the entry is
// licensed exactly when the hit's "is_licensed" text is "Standard". What earlier work left in the
// asset's cache folder is applied too: the cached description (FillEntryFromCapsule) and the
// downloaded preview video (`videoPreviewPath`). Only files already there are read; nothing is
// downloaded.
//
// Thread safety: may be called from any thread.

#ifndef ZORVCAPSULE_STOCK_STOCK_ENTRY_BUILDER_H_
#define ZORVCAPSULE_STOCK_STOCK_ENTRY_BUILDER_H_

#include "stock/search_results.h"
#include "stock/stock_capsule_entry.h"

namespace zorvcapsule {

StockCapsuleEntryPtr BuildStockEntry(const SearchResultFile& hit);

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_STOCK_STOCK_ENTRY_BUILDER_H_
