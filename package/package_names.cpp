#include "package/package_names.h"

namespace zorvcapsule {

const std::u16string kCapsuleExtn = u".tplx";
const std::u16string kJSONFileName = u"definition.json";
const std::u16string kThumbFileName = u"thumb.png";
const std::u16string kVideoThumbFileName = u"thumb.mp4";
const std::u16string kQzProjectFileName = u"project.qzgraphic";
const std::u16string kTsProjectFileName = u"project.tsgraphic";

}  // namespace zorvcapsule
