#include "package/package_names.h"

namespace zorvcapsule {
namespace {

// Member names are ASCII, so each byte is one UTF-16 unit.
std::u16string Wide(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

const std::u16string kCapsuleExtn = u".tplx";
const std::u16string kJSONFileName = Wide(kDescriptionMember);
const std::u16string kThumbFileName = Wide(PlainMemberName(kThumbStem, kStillThumbExtension));
const std::u16string kVideoThumbFileName = Wide(PlainMemberName(kThumbStem, kVideoThumbExtension));
const std::u16string kQzProjectFileName = Wide(PlainMemberName(kProjectStem, kQzProjectExtension));
const std::u16string kTsProjectFileName = Wide(PlainMemberName(kProjectStem, kTsProjectExtension));

}  // namespace zorvcapsule
