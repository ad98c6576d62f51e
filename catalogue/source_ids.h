// The identifiers of the template sources.
//
// Element 0 of an entry's `ids` is the ID of the source that made it; the manager dispatches
// thumbnail requests by it. Built once when the library loads; read-only afterwards, so any thread may
// read them.

#ifndef ZORVCAPSULE_CATALOGUE_SOURCE_IDS_H_
#define ZORVCAPSULE_CATALOGUE_SOURCE_IDS_H_

#include <string>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

ZORVCAPSULE_EXPORT extern const std::string kLocalSourceID;        // "graphicsource.local"
ZORVCAPSULE_EXPORT extern const std::string kQvLibrariesSourceID;  // "graphicsource.QvLibraries"
ZORVCAPSULE_EXPORT extern const std::string kStockSourceID;        // "graphicsource.Stock"
ZORVCAPSULE_EXPORT extern const std::string kAnySourceID;          // "graphicsource.any", for the host
ZORVCAPSULE_EXPORT extern const std::string kNoneSourceID;         // "graphicsource.none", for the host

// Library ID of the local source's default templates folder.
extern const std::string kLocalDefaultID;  // "graphicsource.local.default"

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_CATALOGUE_SOURCE_IDS_H_
