// The names of a template package and of its members, shared by the library and its host.
//
// Built once when the library loads; read-only afterwards, so any thread may read them.

#ifndef ZORVCAPSULE_PACKAGE_PACKAGE_NAMES_H_
#define ZORVCAPSULE_PACKAGE_PACKAGE_NAMES_H_

#include <string>

#include "capsule/capsule_export.h"

namespace zorvcapsule {

ZORVCAPSULE_EXPORT extern const std::u16string kCapsuleExtn;         // ".tplx"
ZORVCAPSULE_EXPORT extern const std::u16string kJSONFileName;        // "definition.json"
ZORVCAPSULE_EXPORT extern const std::u16string kThumbFileName;       // "thumb.png"
ZORVCAPSULE_EXPORT extern const std::u16string kVideoThumbFileName;  // "thumb.mp4"
ZORVCAPSULE_EXPORT extern const std::u16string kQzProjectFileName;   // "project.qzgraphic"
ZORVCAPSULE_EXPORT extern const std::u16string kTsProjectFileName;   // "project.tsgraphic"

}  // namespace zorvcapsule

#endif  // ZORVCAPSULE_PACKAGE_PACKAGE_NAMES_H_
