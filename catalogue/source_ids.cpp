#include "catalogue/source_ids.h"

namespace zorvcapsule {

const std::string kLocalSourceID = "graphicsource.local";
const std::string kQvLibrariesSourceID = "graphicsource.QvLibraries";
const std::string kStockSourceID = "graphicsource.Stock";
const std::string kAnySourceID = "graphicsource.any";
const std::string kNoneSourceID = "graphicsource.none";
const std::string kLocalDefaultID = "graphicsource.local.default";

}  // namespace zorvcapsule
